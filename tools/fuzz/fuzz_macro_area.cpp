// The extra area as the keyboard may return it: any bytes, with any header, are decoded.
// Whatever decodes must pack again within the keyboard's limits.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "model/macro_area.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tavrix::model;
    const TextLookup lookup = [](std::string_view) { return std::u16string(u"Macro "); };
    const std::vector<MacroRecord> macros = DecodeMacroArea(std::span(data, size), lookup);
    if (macros.size() > kMaxMacros) {
        std::abort();
    }
    std::vector<uint8_t> area(MacroAreaSizes(macros).withoutNames);
    if (area.size() <= kMaxMacroAreaSize && !EncodeMacroArea(macros, area, false)) {
        std::abort();
    }
    return 0;
}
