// Profile files as they may arrive from anywhere: any bytes go through the check and the load the
// import runs. A file the check refuses must not load, and a file that loads must save as a file
// that loads again. All in memory: the file functions only read or write the bytes around these.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/profile_file.h"
#include "quiet_device_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tavrix;
    // Kept from run to run: a model is large, and each load replaces it whole.
    static model::ConfigModel loaded;
    const std::span<const uint8_t> input(data, size);
    if (!model::LoadProfileBytes(input, loaded)) {
        testing::QuietTextHost<model::ProfileFileHost> host;
        if (model::ValidateProfileBytes(input, "input.fwc", host) == model::kProfileValid) {
            std::abort();
        }
        return 0;
    }
    if (!model::LoadProfileBytes(model::EncodeProfileFile(loaded), loaded)) {
        std::abort();
    }
    return 0;
}
