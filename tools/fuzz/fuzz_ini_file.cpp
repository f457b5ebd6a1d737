// INI files as people and other programs leave them: any bytes (UTF-8, UTF-16LE, neither) are
// read, searched for the input's own section and key and for the names the program uses, taken
// as a skin rectangle, and rewritten with a new value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/ini_file.h"
#include "skin/skin_rect.h"

namespace {

using namespace tavrix;

constexpr size_t kMaxNameLength = 40;
constexpr size_t kMaxValueLength = 300;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tavrix-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(kMaxNameLength);
    const std::string key = input.ConsumeRandomLengthString(kMaxNameLength);
    const std::string value = input.ConsumeRandomLengthString(kMaxValueLength);
    const std::string file = input.ConsumeRemainingBytesAsString();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(file.data(), static_cast<std::streamsize>(file.size()));

    const std::string read = platform::ReadPrivateProfileString(section, key, skin::kDefaultSkinRect, path);
    if (read.size() > 4 * platform::kProfileStringMaxChars) {
        std::abort();
    }
    static_cast<void>(skin::ParseSkinRect(read));
    static_cast<void>(skin::ReadSkinRect(path, section, key));
    static_cast<void>(platform::ReadPrivateProfileString("KEYCOLOR", "DengCheck", "", path));
    if (platform::WritePrivateProfileString(section, key, value, path)) {
        static_cast<void>(platform::ReadPrivateProfileString(section, key, "", path));
    }
    return 0;
}
