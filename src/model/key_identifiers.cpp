#include "model/key_identifiers.h"

#include <algorithm>
#include <array>

#include "model/key_catalogue.h"
#include "model/lighting_effects.h"
#include "model/media_keys.h"

namespace tavrix::model {

namespace {

struct Identifier {
    std::string_view nameKey;
    std::string_view identifier;
};

// One row per language key of the catalogue, the media list and the function list.
constexpr Identifier kIdentifiers[] = {
    {"IDS_KEYBOARD_A", "A"},
    {"IDS_KEYBOARD_B", "B"},
    {"IDS_KEYBOARD_C", "C"},
    {"IDS_KEYBOARD_D", "D"},
    {"IDS_KEYBOARD_E", "E"},
    {"IDS_KEYBOARD_F", "F"},
    {"IDS_KEYBOARD_G", "G"},
    {"IDS_KEYBOARD_H", "H"},
    {"IDS_KEYBOARD_I", "I"},
    {"IDS_KEYBOARD_J", "J"},
    {"IDS_KEYBOARD_K", "K"},
    {"IDS_KEYBOARD_L", "L"},
    {"IDS_KEYBOARD_M", "M"},
    {"IDS_KEYBOARD_N", "N"},
    {"IDS_KEYBOARD_O", "O"},
    {"IDS_KEYBOARD_P", "P"},
    {"IDS_KEYBOARD_Q", "Q"},
    {"IDS_KEYBOARD_R", "R"},
    {"IDS_KEYBOARD_S", "S"},
    {"IDS_KEYBOARD_T", "T"},
    {"IDS_KEYBOARD_U", "U"},
    {"IDS_KEYBOARD_V", "V"},
    {"IDS_KEYBOARD_W", "W"},
    {"IDS_KEYBOARD_X", "X"},
    {"IDS_KEYBOARD_Y", "Y"},
    {"IDS_KEYBOARD_Z", "Z"},
    {"IDS_KEYBOARD_1", "1"},
    {"IDS_KEYBOARD_2", "2"},
    {"IDS_KEYBOARD_3", "3"},
    {"IDS_KEYBOARD_4", "4"},
    {"IDS_KEYBOARD_5", "5"},
    {"IDS_KEYBOARD_6", "6"},
    {"IDS_KEYBOARD_7", "7"},
    {"IDS_KEYBOARD_8", "8"},
    {"IDS_KEYBOARD_9", "9"},
    {"IDS_KEYBOARD_0", "0"},
    {"IDS_KEYBOARD_ENTER", "Enter"},
    {"IDS_KEYBOARD_ESC", "Escape"},
    {"IDS_KEYBOARD_BS", "Backspace"},
    {"IDS_KEYBOARD_TAB", "Tab"},
    {"IDS_KEYBOARD_SPACE", "Space"},
    {"IDS_KEYBOARD_MINUS", "Minus"},
    {"IDS_KEYBOARD_EQU", "Equal"},
    {"IDS_KEYBOARD_SB1", "LeftBracket"},
    {"IDS_KEYBOARD_SB2", "RightBracket"},
    {"IDS_KEYBOARD_AV", "Backslash"},
    {"IDS_KEYBOARD_SEM", "Semicolon"},
    {"IDS_KEYBOARD_QUOT", "Quote"},
    {"IDS_KEYBOARD_AID1", "Backquote"},
    {"IDS_KEYBOARD_COMMA", "Comma"},
    {"IDS_KEYBOARD_PER", "Period"},
    {"IDS_KEYBOARD_VIR", "Slash"},
    {"IDS_KEYBOARD_F1", "F1"},
    {"IDS_KEYBOARD_F2", "F2"},
    {"IDS_KEYBOARD_F3", "F3"},
    {"IDS_KEYBOARD_F4", "F4"},
    {"IDS_KEYBOARD_F5", "F5"},
    {"IDS_KEYBOARD_F6", "F6"},
    {"IDS_KEYBOARD_F7", "F7"},
    {"IDS_KEYBOARD_F8", "F8"},
    {"IDS_KEYBOARD_F9", "F9"},
    {"IDS_KEYBOARD_F10", "F10"},
    {"IDS_KEYBOARD_F11", "F11"},
    {"IDS_KEYBOARD_F12", "F12"},
    {"IDS_KEYBOARD_PRINT", "PrintScreen"},
    {"IDS_KEYBOARD_PAUSE", "Pause"},
    {"IDS_KEYBOARD_BREAK", "Break"},
    {"IDS_KEYBOARD_INSERT", "Insert"},
    {"IDS_KEYBOARD_DELETE", "Delete"},
    {"IDS_KEYBOARD_HOME", "Home"},
    {"IDS_KEYBOARD_END", "End"},
    {"IDS_KEYBOARD_PAGE_UP", "PageUp"},
    {"IDS_KEYBOARD_PAGE_DOWN", "PageDown"},
    {"IDS_KEYBOARD_UP", "Up"},
    {"IDS_KEYBOARD_DOWN", "Down"},
    {"IDS_KEYBOARD_LEFT", "Left"},
    {"IDS_KEYBOARD_RIGHT", "Right"},
    {"IDS_KEYBOARD_SCROLL", "ScrollLock"},
    {"IDS_KEYBOARD_CAPS", "CapsLock"},
    {"IDS_KEYBOARD_NUM", "NumLock"},
    {"IDS_KEYBOARD_S_VIR", "NumSlash"},
    {"IDS_KEYBOARD_S_AST", "NumAsterisk"},
    {"IDS_KEYBOARD_S_MINUS", "NumMinus"},
    {"IDS_KEYBOARD_S_PLUS", "NumPlus"},
    {"IDS_KEYBOARD_S_ENTER", "NumEnter"},
    {"IDS_KEYBOARD_S_1", "Num1"},
    {"IDS_KEYBOARD_S_2", "Num2"},
    {"IDS_KEYBOARD_S_3", "Num3"},
    {"IDS_KEYBOARD_S_4", "Num4"},
    {"IDS_KEYBOARD_S_5", "Num5"},
    {"IDS_KEYBOARD_S_6", "Num6"},
    {"IDS_KEYBOARD_S_7", "Num7"},
    {"IDS_KEYBOARD_S_8", "Num8"},
    {"IDS_KEYBOARD_S_9", "Num9"},
    {"IDS_KEYBOARD_S_0", "Num0"},
    {"IDS_KEYBOARD_S_DEL", "NumPeriod"},
    {"IDS_KEYBOARD_K45", "IntlBackslash"},
    {"IDS_KEYBOARD_APP", "Menu"},
    {"IDS_KEYBOARD_LCTRL", "LeftCtrl"},
    {"IDS_KEYBOARD_LSHIFT", "LeftShift"},
    {"IDS_KEYBOARD_LALT", "LeftAlt"},
    {"IDS_KEYBOARD_LWIN", "LeftWin"},
    {"IDS_KEYBOARD_RCTRL", "RightCtrl"},
    {"IDS_KEYBOARD_RSHIFT", "RightShift"},
    {"IDS_KEYBOARD_RALT", "RightAlt"},
    {"IDS_KEYBOARD_RWIN", "RightWin"},
    {"IDS_KEYBOARD_MOU_LEFT", "MouseLeft"},
    {"IDS_KEYBOARD_MOU_RIGHT", "MouseRight"},
    {"IDS_KEYBOARD_MOU_MIDDLE", "MouseMiddle"},
    {"IDS_KEYBOARD_ROLL_UP", "WheelUp"},
    {"IDS_KEYBOARD_ROLL_DOWN", "WheelDown"},
    {"IDS_KEYBOARD_POWER", "Power"},
    {"IDS_KEYBOARD_SLEEP", "Sleep"},
    {"IDS_KEYBOARD_WAKE", "Wake"},
    {"IDS_KEYBOARD_MOU_DBCLICK", "DoubleClick"},
    {"IDS_KEYBOARD_MOU_PANLEFT", "ScrollLeft"},
    {"IDS_KEYBOARD_MOU_PANRIGHT", "ScrollRight"},
    {"IDS_KEYBOARD_FUNC_ZOOMOUT", "ZoomOut"},
    {"IDS_KEYBOARD_FUNC_ZOOMIN", "ZoomIn"},
    {"IDS_KEYBOARD_FUNC_COPY", "Copy"},
    {"IDS_KEYBOARD_FUNC_CUT", "Cut"},
    {"IDS_KEYBOARD_FUNC_PASTE", "Paste"},
    {"IDS_KEYBOARD_FUNC_MINI", "Minimize"},
    {"IDS_KEYBOARD_FUNC_MAXI", "Maximize"},
    {"IDS_KEYBOARD_FUNC_WORD", "Word"},
    {"IDS_KEYBOARD_FUNC_EXCEL", "Excel"},
    {"IDS_KEYBOARD_FUNC_POWERPOINT", "PowerPoint"},
    {"IDS_KEYBOARD_FUNC_CALENDAR", "Calendar"},
    {"IDS_KEYBOARD_SYSREQ", "SysRq"},
    {"IDS_KEYBOARD_K14", "Yen"},
    {"IDS_KEYBOARD_K56", "Ro"},
    {"IDS_KEYBOARD_K107", "NumComma"},
    {"IDS_KEYBOARD_N_CHG", "NoConvert"},
    {"IDS_KEYBOARD_CHG", "Convert"},
    {"IDS_KEYBOARD_ROMA", "Kana"},
    {"IDS_KEYBOARD_KL", "Hanja"},
    {"IDS_KEYBOARD_KR", "HanEng"},
    {"MEDIA_PALYER_1", "MediaPlayer"},
    {"MEDIA_PALY_PAUSE_2", "PlayPause"},
    {"MEDIA_STOP_PALY_3", "Stop"},
    {"MEDIA_PREV_TRACK_4", "PreviousTrack"},
    {"MEDIA_Next_TRACK_5", "NextTrack"},
    {"MEDIA_V_LOW_6", "VolumeDown"},
    {"MEDIA_V_ADD_7", "VolumeUp"},
    {"MEDIA_MUTE_8", "Mute"},
    {"MEDIA_WWW_HOME_9", "WebHome"},
    {"MEDIA_WWW_REFRESH_10", "WebRefresh"},
    {"MEDIA_WWW_STOP_11", "WebStop"},
    {"MEDIA_WWW_BACK_12", "WebBack"},
    {"MEDIA_WWW_FORWARD_13", "WebForward"},
    {"MEDIA_WWW_FAVORITE_14", "Favorites"},
    {"MEDIA_WWW_SEARCH_15", "WebSearch"},
    {"MEDIA_MY_PC_16", "MyComputer"},
    {"MEDIA_CALC_17", "Calculator"},
    {"MEDIA_MAIL_18", "Mail"},
    {"FUNC_KEY_DESC1", "Profile1"},
    {"FUNC_KEY_DESC2", "Profile2"},
    {"FUNC_KEY_DESC3", "Profile3"},
    {"FUNC_KEY_DESC4", "NextProfile"},
    {"FUNC_KEY_DESC5", "LightingOnOff"},
    {"FUNC_KEY_DESC6", "BrightnessUp"},
    {"FUNC_KEY_DESC7", "BrightnessDown"},
    {"FUNC_KEY_DESC8", "NextEffect"},
    {"FUNC_KEY_DESC9", "SpeedUp"},
    {"FUNC_KEY_DESC10", "SpeedDown"},
    {"FUNC_KEY_DESC11", "WinLock"},
};

std::string_view IdentifierOfNameKey(std::string_view nameKey)
{
    const auto row = std::find_if(std::begin(kIdentifiers), std::end(kIdentifiers),
                                  [nameKey](const Identifier& i) { return i.nameKey == nameKey; });
    return row == std::end(kIdentifiers) || nameKey.empty() ? std::string_view() : row->identifier;
}

std::string_view NameKeyOfIdentifier(std::string_view identifier)
{
    const auto row = std::find_if(std::begin(kIdentifiers), std::end(kIdentifiers),
                                  [identifier](const Identifier& i) { return i.identifier == identifier; });
    return row == std::end(kIdentifiers) ? std::string_view() : row->nameKey;
}

// The position in list of the entry whose name key has the identifier.
template <typename List, typename NameKeyOf>
std::optional<size_t> IndexOfIdentifier(const List& list, std::string_view identifier, NameKeyOf nameKeyOf)
{
    const std::string_view nameKey = NameKeyOfIdentifier(identifier);
    for (size_t i = 0; i < list.size(); ++i) {
        if (!nameKey.empty() && nameKeyOf(list[i]) == nameKey)
            return i;
    }
    return std::nullopt;
}

struct EffectEntry {
    int code;
    std::string_view name;
};

// Effects by the English names of the language file's MODE section, made identifiers.
constexpr std::array<EffectEntry, 29> kEffects{{
    {1, "wave"},
    {2, "rainbow-wave"},
    {3, "ripple"},
    {4, "scroll"},
    {5, "static"},
    {6, "breathing"},
    {7, "reactive"},
    {8, "spectrum"},
    {9, "starlight"},
    {10, "snake"},
    {11, "raindrops"},
    {12, "crossfire"},
    {13, "heartbeat"},
    {14, "twinkle"},
    {15, "rain"},
    {16, "sweep"},
    {17, "fireworks"},
    {18, "aurora"},
    {19, "pulse"},
    {20, "flash"},
    {21, "sparkle"},
    {22, "ripple-trail"},
    {23, "color-cycle"},
    {24, "radar"},
    {25, "gradient"},
    {26, "wave-trigger"},
    {27, "stream"},
    {28, "spiral"},
    {kPerKeyEffect, "custom"},
}};

} // namespace

std::string_view KeyIdentifier(uint16_t code)
{
    const KeyCatalogueRow& row = CatalogueRowOf(code);
    if (!row.IsDefined() || row.code != code)
        return {};
    const std::string_view identifier = IdentifierOfNameKey(row.nameKey);
    return KeyOfIdentifier(identifier) == code ? identifier : std::string_view();
}

uint16_t KeyOfIdentifier(std::string_view identifier)
{
    const std::string_view nameKey = NameKeyOfIdentifier(identifier);
    if (nameKey.empty())
        return kNoKey;
    // The first row of the name: Right Shift is 0x036, not 0x136.
    for (const KeyCatalogueRow& row : KeyCatalogue()) {
        if (row.IsDefined() && row.nameKey == nameKey)
            return row.code;
    }
    return kNoKey;
}

std::string_view MediaIdentifier(size_t index)
{
    return index < MediaList.size() ? IdentifierOfNameKey(MediaList[index].nameKey) : std::string_view();
}

std::optional<size_t> MediaOfIdentifier(std::string_view identifier)
{
    return IndexOfIdentifier(MediaList, identifier, [](const MediaKey& key) { return key.nameKey; });
}

std::string_view FunctionIdentifier(size_t index)
{
    return index < FunctionList.size() ? IdentifierOfNameKey(FunctionList[index]) : std::string_view();
}

std::optional<size_t> FunctionOfIdentifier(std::string_view identifier)
{
    return IndexOfIdentifier(FunctionList, identifier, [](std::string_view nameKey) { return nameKey; });
}

std::string_view EffectIdentifier(int code)
{
    const auto entry =
        std::find_if(kEffects.begin(), kEffects.end(), [code](const EffectEntry& e) { return e.code == code; });
    return entry == kEffects.end() ? std::string_view() : entry->name;
}

std::optional<uint8_t> EffectOfIdentifier(std::string_view identifier)
{
    const auto entry = std::find_if(kEffects.begin(), kEffects.end(),
                                    [identifier](const EffectEntry& e) { return e.name == identifier; });
    return entry == kEffects.end() ? std::nullopt : std::optional<uint8_t>(static_cast<uint8_t>(entry->code));
}

} // namespace tavrix::model
