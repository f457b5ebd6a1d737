#include "model/virtual_key_map.h"

#include "model/key_catalogue.h"

namespace tavrix::model {

namespace {

constexpr uint8_t kVkShift = 0x10;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkMenu = 0x12;
constexpr uint16_t kLeftShift = 0x02A;
constexpr uint16_t kLeftCtrl = 0x01D;
constexpr uint16_t kLeftAlt = 0x038;
constexpr uint16_t kRightShift = 0x036;
constexpr uint16_t kRightShiftExtended = 0x136;
constexpr uint16_t kNumEnter = 0x11C;
constexpr uint16_t kSysReq = 0x054;

// Wheel, pan, double click, mouse buttons and office functions: keys only this program makes.
bool IsPseudoKey(uint16_t code)
{
    return code == 0x161 || code == 0x162 || (code >= 0x16E && code <= 0x17E);
}

// Num Enter, SysReq and 0x136 share their virtual key with Enter, Print Screen and Right Shift,
// which the system reports far more often; the pseudo keys' virtual keys are the program's own.
// A bare virtual key never means one of these.
bool IsReachableFromVirtualKey(const KeyCatalogueRow& row)
{
    if (!row.IsDefined() || row.virtualKey == 0 || row.virtualKey == kNoVirtualKey || IsPseudoKey(row.code))
        return false;
    return row.code != kNumEnter && row.code != kSysReq && row.code != kRightShiftExtended;
}

VirtualKeyTable BuildVirtualKeyMap()
{
    VirtualKeyTable map{};
    const KeyCatalogueTable& catalogue = KeyCatalogue();
    for (size_t index = 0; index < catalogue.size(); ++index) {
        const KeyCatalogueRow& row = catalogue[index];
        if (IsReachableFromVirtualKey(row) && map[row.virtualKey] == 0)
            map[row.virtualKey] = static_cast<uint8_t>(index);
    }
    map[kVkShift] = static_cast<uint8_t>(KeyIndexOf(kLeftShift));
    map[kVkControl] = static_cast<uint8_t>(KeyIndexOf(kLeftCtrl));
    map[kVkMenu] = static_cast<uint8_t>(KeyIndexOf(kLeftAlt));
    return map;
}

uint16_t ScanCodeOf(uint32_t lParam)
{
    return static_cast<uint16_t>((lParam >> 16) & 0x1FF);
}

} // namespace

const VirtualKeyTable& VirtualKeyMap()
{
    static const VirtualKeyTable map = BuildVirtualKeyMap();
    return map;
}

uint16_t KeyFromVirtualKey(uint8_t virtualKey, uint32_t lParam)
{
    const uint16_t scan = ScanCodeOf(lParam);
    if (scan == kRightShift || scan == kRightShiftExtended)
        return kRightShift;
    if (virtualKey == kNoVirtualKey)
        return scan;
    const uint8_t mapped = VirtualKeyMap()[virtualKey];
    if (scan == 0)
        return KeyCodeOf(mapped);
    const KeyCatalogueRow& row = CatalogueRowOf(scan);
    const bool agrees = row.virtualKey == virtualKey || row.alternateVirtualKey == virtualKey ||
                        (mapped != 0 && mapped == (scan & 0xFF));
    return agrees ? scan : KeyCodeOf(mapped);
}

} // namespace tavrix::model
