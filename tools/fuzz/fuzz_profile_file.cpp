// Profile files as they may arrive from anywhere: any bytes go through the check and the load the
// import runs. A file the check refuses must not load, and a file that loads must save as a file
// that loads again. All in memory: the file functions only read or write the bytes around these.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "model/profile_file.h"
#include "quiet_device_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tavrix;
    // A fresh model each run: one kept from the last would hold its macros and texts, and every
    // run that left more of them than it found would make libFuzzer run it again to look for a leak.
    const auto loaded = std::make_unique<model::ConfigModel>();
    const std::span<const uint8_t> input(data, size);
    if (!model::LoadProfileBytes(input, *loaded)) {
        testing::QuietTextHost<model::ProfileFileHost> host;
        if (model::ValidateProfileBytes(input, "input.fwc", host) == model::kProfileValid) {
            std::abort();
        }
        return 0;
    }
    const std::vector<uint8_t> saved = model::EncodeProfileFile(*loaded);
    // Saved byte for byte as it came, it loads again: it just did.
    if (std::ranges::equal(saved, input)) {
        return 0;
    }
    if (!model::LoadProfileBytes(saved, *loaded)) {
        std::abort();
    }
    return 0;
}
