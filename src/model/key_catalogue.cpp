#include "model/key_catalogue.h"

#include <algorithm>
#include <iterator>

#include "model/media_keys.h"

namespace tavrix::model {

namespace {

struct Entry {
    uint16_t listPosition;
    std::string_view nameKey;
    uint16_t code;
    uint8_t virtualKey;
    uint8_t alternateVirtualKey;
    uint8_t deviceCode;
};

constexpr Entry Key(uint16_t listPosition, std::string_view nameKey, uint16_t code, uint8_t virtualKey,
                    uint8_t deviceCode)
{
    return {listPosition, nameKey, code, virtualKey, virtualKey, deviceCode};
}

// A numeric keypad key: with Num Lock off it produces the navigation key of the same cap.
constexpr Entry Keypad(uint16_t listPosition, std::string_view nameKey, uint16_t code, uint8_t virtualKey,
                       uint8_t navigationKey, uint8_t deviceCode)
{
    return {listPosition, nameKey, code, virtualKey, navigationKey, deviceCode};
}

constexpr Entry Outside(uint16_t n, std::string_view nameKey, uint16_t code, uint8_t virtualKey, uint8_t deviceCode)
{
    return Key(static_cast<uint16_t>(kOutsideListBase + n), nameKey, code, virtualKey, deviceCode);
}

// Virtual keys are the system's key codes, device codes the HID Keyboard/Keypad usages unless a
// key has none (mouse 0xF1.., system control 0x81.., the program's media codes 0xC0..).
constexpr Entry kEntries[] = {
    Key(0, "IDS_KEYBOARD_A", 0x01E, 0x41, 0x04),
    Key(1, "IDS_KEYBOARD_B", 0x030, 0x42, 0x05),
    Key(2, "IDS_KEYBOARD_C", 0x02E, 0x43, 0x06),
    Key(3, "IDS_KEYBOARD_D", 0x020, 0x44, 0x07),
    Key(4, "IDS_KEYBOARD_E", 0x012, 0x45, 0x08),
    Key(5, "IDS_KEYBOARD_F", 0x021, 0x46, 0x09),
    Key(6, "IDS_KEYBOARD_G", 0x022, 0x47, 0x0A),
    Key(7, "IDS_KEYBOARD_H", 0x023, 0x48, 0x0B),
    Key(8, "IDS_KEYBOARD_I", 0x017, 0x49, 0x0C),
    Key(9, "IDS_KEYBOARD_J", 0x024, 0x4A, 0x0D),
    Key(10, "IDS_KEYBOARD_K", 0x025, 0x4B, 0x0E),
    Key(11, "IDS_KEYBOARD_L", 0x026, 0x4C, 0x0F),
    Key(12, "IDS_KEYBOARD_M", 0x032, 0x4D, 0x10),
    Key(13, "IDS_KEYBOARD_N", 0x031, 0x4E, 0x11),
    Key(14, "IDS_KEYBOARD_O", 0x018, 0x4F, 0x12),
    Key(15, "IDS_KEYBOARD_P", 0x019, 0x50, 0x13),
    Key(16, "IDS_KEYBOARD_Q", 0x010, 0x51, 0x14),
    Key(17, "IDS_KEYBOARD_R", 0x013, 0x52, 0x15),
    Key(18, "IDS_KEYBOARD_S", 0x01F, 0x53, 0x16),
    Key(19, "IDS_KEYBOARD_T", 0x014, 0x54, 0x17),
    Key(20, "IDS_KEYBOARD_U", 0x016, 0x55, 0x18),
    Key(21, "IDS_KEYBOARD_V", 0x02F, 0x56, 0x19),
    Key(22, "IDS_KEYBOARD_W", 0x011, 0x57, 0x1A),
    Key(23, "IDS_KEYBOARD_X", 0x02D, 0x58, 0x1B),
    Key(24, "IDS_KEYBOARD_Y", 0x015, 0x59, 0x1C),
    Key(25, "IDS_KEYBOARD_Z", 0x02C, 0x5A, 0x1D),
    Key(26, "IDS_KEYBOARD_1", 0x002, 0x31, 0x1E),
    Key(27, "IDS_KEYBOARD_2", 0x003, 0x32, 0x1F),
    Key(28, "IDS_KEYBOARD_3", 0x004, 0x33, 0x20),
    Key(29, "IDS_KEYBOARD_4", 0x005, 0x34, 0x21),
    Key(30, "IDS_KEYBOARD_5", 0x006, 0x35, 0x22),
    Key(31, "IDS_KEYBOARD_6", 0x007, 0x36, 0x23),
    Key(32, "IDS_KEYBOARD_7", 0x008, 0x37, 0x24),
    Key(33, "IDS_KEYBOARD_8", 0x009, 0x38, 0x25),
    Key(34, "IDS_KEYBOARD_9", 0x00A, 0x39, 0x26),
    Key(35, "IDS_KEYBOARD_0", 0x00B, 0x30, 0x27),
    Key(36, "IDS_KEYBOARD_ENTER", 0x01C, 0x0D, 0x28),
    Key(37, "IDS_KEYBOARD_ESC", 0x001, 0x1B, 0x29),
    Key(38, "IDS_KEYBOARD_BS", 0x00E, 0x08, 0x2A),
    Key(39, "IDS_KEYBOARD_TAB", 0x00F, 0x09, 0x2B),
    Key(40, "IDS_KEYBOARD_SPACE", 0x039, 0x20, 0x2C),
    Key(41, "IDS_KEYBOARD_MINUS", 0x00C, 0xBD, 0x2D),
    Key(42, "IDS_KEYBOARD_EQU", 0x00D, 0xBB, 0x2E),
    Key(43, "IDS_KEYBOARD_SB1", 0x01A, 0xDB, 0x2F),
    Key(44, "IDS_KEYBOARD_SB2", 0x01B, 0xDD, 0x30),
    Key(45, "IDS_KEYBOARD_AV", 0x02B, 0xDC, 0x31),
    Key(46, "IDS_KEYBOARD_SEM", 0x027, 0xBA, 0x33),
    Key(47, "IDS_KEYBOARD_QUOT", 0x028, 0xDE, 0x34),
    Key(48, "IDS_KEYBOARD_AID1", 0x029, 0xC0, 0x35),
    Key(49, "IDS_KEYBOARD_COMMA", 0x033, 0xBC, 0x36),
    Key(50, "IDS_KEYBOARD_PER", 0x034, 0xBE, 0x37),
    Key(51, "IDS_KEYBOARD_VIR", 0x035, 0xBF, 0x38),
    Key(52, "IDS_KEYBOARD_F1", 0x03B, 0x70, 0x3A),
    Key(53, "IDS_KEYBOARD_F2", 0x03C, 0x71, 0x3B),
    Key(54, "IDS_KEYBOARD_F3", 0x03D, 0x72, 0x3C),
    Key(55, "IDS_KEYBOARD_F4", 0x03E, 0x73, 0x3D),
    Key(56, "IDS_KEYBOARD_F5", 0x03F, 0x74, 0x3E),
    Key(57, "IDS_KEYBOARD_F6", 0x040, 0x75, 0x3F),
    Key(58, "IDS_KEYBOARD_F7", 0x041, 0x76, 0x40),
    Key(59, "IDS_KEYBOARD_F8", 0x042, 0x77, 0x41),
    Key(60, "IDS_KEYBOARD_F9", 0x043, 0x78, 0x42),
    Key(61, "IDS_KEYBOARD_F10", 0x044, 0x79, 0x43),
    Key(62, "IDS_KEYBOARD_F11", 0x057, 0x7A, 0x44),
    Key(63, "IDS_KEYBOARD_F12", 0x058, 0x7B, 0x45),
    Key(64, "IDS_KEYBOARD_PRINT", 0x137, 0x2C, 0x46),
    Key(65, "IDS_KEYBOARD_PAUSE", 0x045, 0x13, 0x48),
    Key(66, "IDS_KEYBOARD_BREAK", 0x146, 0x03, 0x48),
    Key(67, "IDS_KEYBOARD_INSERT", 0x152, 0x2D, 0x49),
    Key(68, "IDS_KEYBOARD_DELETE", 0x153, 0x2E, 0x4C),
    Key(69, "IDS_KEYBOARD_HOME", 0x147, 0x24, 0x4A),
    Key(70, "IDS_KEYBOARD_END", 0x14F, 0x23, 0x4D),
    Key(71, "IDS_KEYBOARD_PAGE_UP", 0x149, 0x21, 0x4B),
    Key(72, "IDS_KEYBOARD_PAGE_DOWN", 0x151, 0x22, 0x4E),
    Key(73, "IDS_KEYBOARD_UP", 0x148, 0x26, 0x52),
    Key(74, "IDS_KEYBOARD_DOWN", 0x150, 0x28, 0x51),
    Key(75, "IDS_KEYBOARD_LEFT", 0x14B, 0x25, 0x50),
    Key(76, "IDS_KEYBOARD_RIGHT", 0x14D, 0x27, 0x4F),
    Key(77, "IDS_KEYBOARD_SCROLL", 0x046, 0x91, 0x47),
    Key(78, "IDS_KEYBOARD_CAPS", 0x03A, 0x14, 0x39),
    Key(79, "IDS_KEYBOARD_NUM", 0x145, 0x90, 0x53),
    Key(80, "IDS_KEYBOARD_S_VIR", 0x135, 0x6F, 0x54),
    Key(81, "IDS_KEYBOARD_S_AST", 0x037, 0x6A, 0x55),
    Key(82, "IDS_KEYBOARD_S_MINUS", 0x04A, 0x6D, 0x56),
    Key(83, "IDS_KEYBOARD_S_PLUS", 0x04E, 0x6B, 0x57),
    Key(84, "IDS_KEYBOARD_S_ENTER", 0x11C, 0x0D, 0x58),
    Keypad(85, "IDS_KEYBOARD_S_1", 0x04F, 0x61, 0x23, 0x59),
    Keypad(86, "IDS_KEYBOARD_S_2", 0x050, 0x62, 0x28, 0x5A),
    Keypad(87, "IDS_KEYBOARD_S_3", 0x051, 0x63, 0x22, 0x5B),
    Keypad(88, "IDS_KEYBOARD_S_4", 0x04B, 0x64, 0x25, 0x5C),
    Keypad(89, "IDS_KEYBOARD_S_5", 0x04C, 0x65, 0x0C, 0x5D),
    Keypad(90, "IDS_KEYBOARD_S_6", 0x04D, 0x66, 0x27, 0x5E),
    Keypad(91, "IDS_KEYBOARD_S_7", 0x047, 0x67, 0x24, 0x5F),
    Keypad(92, "IDS_KEYBOARD_S_8", 0x048, 0x68, 0x26, 0x60),
    Keypad(93, "IDS_KEYBOARD_S_9", 0x049, 0x69, 0x21, 0x61),
    Keypad(94, "IDS_KEYBOARD_S_0", 0x052, 0x60, 0x2D, 0x62),
    Keypad(95, "IDS_KEYBOARD_S_DEL", 0x053, 0x6E, 0x2E, 0x63),
    Key(96, "IDS_KEYBOARD_K45", 0x056, 0xE2, 0x64),
    Key(97, "IDS_KEYBOARD_APP", 0x15D, 0x5D, 0x65),
    Key(98, "IDS_KEYBOARD_LCTRL", 0x01D, 0xA2, 0xE0),
    Key(99, "IDS_KEYBOARD_LSHIFT", 0x02A, 0xA0, 0xE1),
    Key(100, "IDS_KEYBOARD_LALT", 0x038, 0xA4, 0xE2),
    Key(101, "IDS_KEYBOARD_LWIN", 0x15B, 0x5B, 0xE3),
    Key(102, "IDS_KEYBOARD_RCTRL", 0x11D, 0xA3, 0xE4),
    Key(103, "IDS_KEYBOARD_RSHIFT", 0x036, 0xA1, 0xE5),
    // The same key as 0x036, as some systems report it; reverse searches find 0x036 first.
    Key(103, "IDS_KEYBOARD_RSHIFT", 0x136, 0xA1, 0xE5),
    Key(104, "IDS_KEYBOARD_RALT", 0x138, 0xA5, 0xE6),
    Key(105, "IDS_KEYBOARD_RWIN", 0x15C, 0x5C, 0xE7),
    Key(106, "IDS_KEYBOARD_MOU_LEFT", 0x171, 0x01, 0xF1),
    Key(107, "IDS_KEYBOARD_MOU_RIGHT", 0x172, 0x02, 0xF2),
    Key(108, "IDS_KEYBOARD_MOU_MIDDLE", 0x173, 0x04, 0xF3),
    Key(109, "IDS_KEYBOARD_ROLL_UP", 0x161, 0xD1, 0xF4),
    Key(110, "IDS_KEYBOARD_ROLL_DOWN", 0x162, 0xD2, 0xF5),
    Outside(0x01, "IDS_KEYBOARD_POWER", 0x15E, kNoVirtualKey, 0x81),
    Outside(0x02, "IDS_KEYBOARD_SLEEP", 0x15F, 0x5F, 0x82),
    Outside(0x03, "IDS_KEYBOARD_WAKE", 0x163, kNoVirtualKey, 0x83),
    Outside(0x04, "IDS_KEYBOARD_MOU_DBCLICK", 0x170, 0x8A, 0),
    Outside(0x05, "IDS_KEYBOARD_MOU_PANLEFT", 0x16E, 0x88, 0),
    Outside(0x06, "IDS_KEYBOARD_MOU_PANRIGHT", 0x16F, 0x89, 0),
    Outside(0x07, "IDS_KEYBOARD_FUNC_ZOOMOUT", 0x174, 0x8B, 0xD2),
    Outside(0x08, "IDS_KEYBOARD_FUNC_ZOOMIN", 0x175, 0x8C, 0xD3),
    Outside(0x09, "IDS_KEYBOARD_FUNC_COPY", 0x176, 0x97, 0),
    Outside(0x0A, "IDS_KEYBOARD_FUNC_CUT", 0x177, 0x98, 0),
    Outside(0x0B, "IDS_KEYBOARD_FUNC_PASTE", 0x178, 0x99, 0),
    Outside(0x0C, "IDS_KEYBOARD_FUNC_MINI", 0x179, 0x9A, 0),
    Outside(0x0D, "IDS_KEYBOARD_FUNC_MAXI", 0x17A, 0x9B, 0),
    Outside(0x0E, "IDS_KEYBOARD_FUNC_WORD", 0x17B, 0x9C, 0xD4),
    Outside(0x0F, "IDS_KEYBOARD_FUNC_EXCEL", 0x17C, 0x9D, 0xD5),
    Outside(0x10, "IDS_KEYBOARD_FUNC_POWERPOINT", 0x17D, 0x9E, 0),
    Outside(0x11, "IDS_KEYBOARD_FUNC_CALENDAR", 0x17E, 0x9F, 0),
    Outside(0x12, "IDS_KEYBOARD_SYSREQ", 0x054, 0x2C, 0),
    Outside(0x13, "IDS_KEYBOARD_K14", 0x07D, kNoVirtualKey, 0x89),
    Outside(0x14, "IDS_KEYBOARD_K56", 0x073, 0xC1, 0x87),
    Outside(0x15, "IDS_KEYBOARD_K107", 0x07E, 0xC2, 0x85),
    Outside(0x16, "IDS_KEYBOARD_N_CHG", 0x07B, 0xEB, 0x8B),
    Outside(0x17, "IDS_KEYBOARD_CHG", 0x079, kNoVirtualKey, 0x8A),
    Outside(0x18, "IDS_KEYBOARD_ROMA", 0x070, kNoVirtualKey, 0x88),
    Outside(0x19, "IDS_KEYBOARD_KL", 0x071, 0xE9, 0x91),
    Outside(0x1A, "IDS_KEYBOARD_KR", 0x072, kNoVirtualKey, 0x90),
    // F13 has no name of its own; it is shown through "UNKNOWN_KEY".
    Outside(0x2D, "", 0x064, 0x7C, 0),
};

// The media keys follow the rows above outside the list, in media order.
constexpr uint16_t kFirstMediaListPosition = kOutsideListBase + 0x1B;

constexpr KeyCatalogueRow RowOf(const Entry& entry)
{
    return {entry.code,       entry.virtualKey,   entry.alternateVirtualKey,
            entry.deviceCode, entry.listPosition, entry.nameKey};
}

constexpr KeyCatalogueRow RowOf(const MediaKey& key, size_t mediaIndex)
{
    const auto listPosition = static_cast<uint16_t>(kFirstMediaListPosition + mediaIndex);
    return {key.code, key.virtualKey, key.virtualKey, key.deviceCode, listPosition, key.nameKey};
}

constexpr KeyCatalogueTable BuildCatalogue()
{
    KeyCatalogueTable table{};
    for (const Entry& entry : kEntries)
        table[KeyIndexOf(entry.code)] = RowOf(entry);
    for (size_t i = 0; i < MediaList.size(); ++i)
        table[KeyIndexOf(MediaList[i].code)] = RowOf(MediaList[i], i);
    return table;
}

constexpr KeyCatalogueTable kCatalogue = BuildCatalogue();

// Every source row must keep its own index: two keys on one index would silently lose one.
constexpr size_t kDefinedRowCount = std::size(kEntries) + MediaList.size();
static_assert(kDefinedRowCount == 157);
static_assert(std::count_if(kCatalogue.begin(), kCatalogue.end(),
                            [](const KeyCatalogueRow& row) { return row.IsDefined(); }) == kDefinedRowCount);
static_assert(!kCatalogue[0].IsDefined());

// One bit of the keyboard's modifier byte and the key it stands for.
struct ModifierBit {
    uint8_t bit;
    uint16_t code;
};

// In bit order: Left Ctrl, Left Shift, Left Alt, Left Win, Right Ctrl, Right Shift, Right Alt,
// Right Win.
constexpr std::array<ModifierBit, 8> kModifierBits{{
    {0x01, 0x01D},
    {0x02, 0x02A},
    {0x04, 0x038},
    {0x08, 0x15B},
    {0x10, 0x11D},
    {0x20, 0x036},
    {0x40, 0x138},
    {0x80, 0x15C},
}};

constexpr std::array<uint16_t, 4> kReleaseOnlyKeys{0x054, 0x071, 0x072, 0x137};

constexpr uint8_t kNoDeviceCode = 0x00;
constexpr uint8_t kNoOutputDeviceCode = 0xFF;
constexpr uint8_t kFirstSystemControlCode = 0x81;
constexpr uint8_t kLastSystemControlCode = 0x83;
constexpr uint8_t kFirstMouseCode = 0xF1;
constexpr uint8_t kLastMouseCode = 0xF8;

bool IsSystemControlCode(uint32_t deviceCode)
{
    return deviceCode >= kFirstSystemControlCode && deviceCode <= kLastSystemControlCode;
}

// The first defined key of the catalogue with each device code; key tables look up every position.
constexpr std::array<uint16_t, 0x100> kKeysByDeviceCode = [] {
    std::array<uint16_t, 0x100> keys{};
    for (auto row = kCatalogue.rbegin(); row != kCatalogue.rend(); ++row) {
        if (row->IsDefined())
            keys[row->deviceCode] = row->code;
    }
    keys[kNoDeviceCode] = kNoKey;
    return keys;
}();

uint16_t KeyOfDeviceCode(uint32_t deviceCode)
{
    return deviceCode <= 0xFF ? kKeysByDeviceCode[deviceCode] : kNoKey;
}

uint8_t DeviceCodeOfConsumerUsage(uint32_t usage)
{
    const auto slot = std::find(ConsumerCodes.begin(), ConsumerCodes.end(), usage);
    if (usage == 0 || slot == ConsumerCodes.end())
        return kNoDeviceCode;
    return static_cast<uint8_t>(kFirstConsumerDeviceCode + (slot - ConsumerCodes.begin()));
}

} // namespace

const KeyCatalogueTable& KeyCatalogue()
{
    return kCatalogue;
}

const KeyCatalogueRow& CatalogueRowOf(uint16_t code)
{
    return kCatalogue[KeyIndexOf(code)];
}

uint16_t ListPositionOf(uint16_t code)
{
    return CatalogueRowOf(code).listPosition;
}

uint16_t KeyAtListPosition(uint16_t listPosition)
{
    if (listPosition == kUndefinedListPosition)
        return kNoKey;
    const auto row = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                  [listPosition](const KeyCatalogueRow& r) { return r.listPosition == listPosition; });
    return row == kCatalogue.end() ? kNoKey : row->code;
}

ClassifiedKey ClassifyKey(uint16_t code)
{
    const uint8_t deviceCode = CatalogueRowOf(code).deviceCode;
    if (deviceCode == kNoDeviceCode || deviceCode == kNoOutputDeviceCode)
        return {};
    if (IsSystemControlCode(deviceCode))
        return {KeyClass::SystemControl, deviceCode};
    if (deviceCode >= kFirstMouseCode && deviceCode <= kLastMouseCode)
        return {KeyClass::Mouse, deviceCode};
    return {KeyClass::Keyboard, deviceCode};
}

uint16_t KeyFromClass(KeyClass keyClass, uint32_t value)
{
    switch (keyClass) {
    case KeyClass::Keyboard:
        return KeyOfDeviceCode(value);
    case KeyClass::SystemControl:
        return IsSystemControlCode(value) ? KeyOfDeviceCode(value) : kNoKey;
    case KeyClass::Consumer:
        return KeyOfDeviceCode(DeviceCodeOfConsumerUsage(value));
    default:
        return kNoKey;
    }
}

uint8_t ModifierBitOf(uint16_t code)
{
    // By device code, so both codes of Right Shift find its bit.
    const uint8_t deviceCode = CatalogueRowOf(code).deviceCode;
    const auto modifier = std::find_if(kModifierBits.begin(), kModifierBits.end(), [deviceCode](const ModifierBit& m) {
        return deviceCode != kNoDeviceCode && CatalogueRowOf(m.code).deviceCode == deviceCode;
    });
    return modifier == kModifierBits.end() ? 0 : modifier->bit;
}

uint16_t ModifierKeyOf(uint8_t bits)
{
    const auto modifier =
        std::find_if(kModifierBits.begin(), kModifierBits.end(), [bits](const ModifierBit& m) { return bits & m.bit; });
    return modifier == kModifierBits.end() ? kNoKey : modifier->code;
}

bool IsReleaseOnlyKey(uint16_t code)
{
    return std::find(kReleaseOnlyKeys.begin(), kReleaseOnlyKeys.end(), code) != kReleaseOnlyKeys.end();
}

} // namespace tavrix::model
