// Profile files as they may arrive from anywhere: any bytes go through the check and the load the
// import runs. A file the check accepts must load, and a file that loads must save.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "model/profile_file.h"
#include "quiet_device_host.h"

namespace {

using namespace tavrix;

std::filesystem::path ScratchPath(const char* what)
{
    return std::filesystem::temp_directory_path() / ("tavrix-fuzz-" + std::to_string(::getpid()) + "-" + what + ".fwc");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path input = ScratchPath("in");
    static const std::filesystem::path output = ScratchPath("out");
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    testing::QuietTextHost<model::ProfileFileHost> host;
    const int valid = model::ValidateProfileFile(input, host);
    model::ConfigModel loaded;
    const bool wasLoaded = model::LoadProfileFile(input, loaded);
    if ((valid == model::kProfileValid) != wasLoaded) {
        std::abort();
    }
    if (wasLoaded &&
        (!model::SaveModelToFile(loaded, output) || model::ValidateProfileFile(output, host) != model::kProfileValid)) {
        std::abort();
    }
    return 0;
}
