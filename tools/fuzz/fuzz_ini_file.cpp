// INI files as people and other programs leave them: any bytes (UTF-8, UTF-16LE, neither) are
// read, searched for the input's own section and key and for the names the program uses, taken
// as a skin rectangle, and rewritten with a new value. All in memory: the file functions only
// read or write the bytes around these.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/ini_file.h"
#include "skin/skin_rect.h"

namespace {

using namespace tavrix;

constexpr size_t kMaxNameLength = 40;
constexpr size_t kMaxValueLength = 300;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(kMaxNameLength);
    const std::string key = input.ConsumeRandomLengthString(kMaxNameLength);
    const std::string value = input.ConsumeRandomLengthString(kMaxValueLength);
    const std::string file = input.ConsumeRemainingBytesAsString();

    const std::string read = platform::ProfileStringIn(file, section, key, skin::kDefaultSkinRect);
    if (read.size() > 4 * platform::kProfileStringMaxChars) {
        std::abort();
    }
    static_cast<void>(skin::ParseSkinRect(read));
    static_cast<void>(platform::ProfileStringIn(file, "KEYCOLOR", "DengCheck", ""));
    if (const std::optional<std::string> written = platform::WithProfileString(file, section, key, value)) {
        static_cast<void>(platform::ProfileStringIn(*written, section, key, ""));
    }
    return 0;
}
