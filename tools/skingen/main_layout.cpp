#include <QStringList>
#include <cstdint>

#include "model/key_code.h"
#include "skin_layout.h"

namespace tavrix::skingen {

namespace {

constexpr QSize kMainSize{1280, 540};

// Keyboard geometry: one key unit in pixels, the gap between caps, the top-left of the main
// block and of the G-key column.
constexpr int kUnit = 40;
constexpr int kCapGap = 4;
constexpr int kKeysLeft = 102;
constexpr int kKeysTop = 152;
constexpr int kGKeysLeft = 32;
constexpr QSize kGKeySize{50, 26};
constexpr int kGKeyPitch = 29;

// One keycap: its key code, legends, and place in key units from the top-left of the main block
// (the function row is row 0, the number row 1.5).
struct CapPlace {
    uint16_t code;
    const char* legend;
    const char* legend2;
    double x;
    double y;
    double w = 1;
    double h = 1;
};

// A standard ANSI full-size board with an Fn key in the bottom row.
const CapPlace kCaps[] = {
    {0x01, "Esc", "", 0, 0},
    {0x3B, "F1", "", 2, 0},
    {0x3C, "F2", "", 3, 0},
    {0x3D, "F3", "", 4, 0},
    {0x3E, "F4", "", 5, 0},
    {0x3F, "F5", "", 6.5, 0},
    {0x40, "F6", "", 7.5, 0},
    {0x41, "F7", "", 8.5, 0},
    {0x42, "F8", "", 9.5, 0},
    {0x43, "F9", "", 11, 0},
    {0x44, "F10", "", 12, 0},
    {0x57, "F11", "", 13, 0},
    {0x58, "F12", "", 14, 0},
    {0x137, "PrtSc", "", 15.5, 0},
    {0x46, "ScrLk", "", 16.5, 0},
    {0x45, "Pause", "", 17.5, 0},

    {0x29, "`", "~", 0, 1.5},
    {0x02, "1", "!", 1, 1.5},
    {0x03, "2", "@", 2, 1.5},
    {0x04, "3", "#", 3, 1.5},
    {0x05, "4", "$", 4, 1.5},
    {0x06, "5", "%", 5, 1.5},
    {0x07, "6", "^", 6, 1.5},
    {0x08, "7", "&", 7, 1.5},
    {0x09, "8", "*", 8, 1.5},
    {0x0A, "9", "(", 9, 1.5},
    {0x0B, "0", ")", 10, 1.5},
    {0x0C, "-", "_", 11, 1.5},
    {0x0D, "=", "+", 12, 1.5},
    {0x0E, "Backspace", "", 13, 1.5, 2},
    {0x152, "Insert", "", 15.5, 1.5},
    {0x147, "Home", "", 16.5, 1.5},
    {0x149, "PgUp", "", 17.5, 1.5},
    {0x145, "Num", "", 19, 1.5},
    {0x135, "/", "", 20, 1.5},
    {0x37, "*", "", 21, 1.5},
    {0x4A, "-", "", 22, 1.5},

    {0x0F, "Tab", "", 0, 2.5, 1.5},
    {0x10, "Q", "", 1.5, 2.5},
    {0x11, "W", "", 2.5, 2.5},
    {0x12, "E", "", 3.5, 2.5},
    {0x13, "R", "", 4.5, 2.5},
    {0x14, "T", "", 5.5, 2.5},
    {0x15, "Y", "", 6.5, 2.5},
    {0x16, "U", "", 7.5, 2.5},
    {0x17, "I", "", 8.5, 2.5},
    {0x18, "O", "", 9.5, 2.5},
    {0x19, "P", "", 10.5, 2.5},
    {0x1A, "[", "{", 11.5, 2.5},
    {0x1B, "]", "}", 12.5, 2.5},
    {0x2B, "\\", "|", 13.5, 2.5, 1.5},
    {0x153, "Delete", "", 15.5, 2.5},
    {0x14F, "End", "", 16.5, 2.5},
    {0x151, "PgDn", "", 17.5, 2.5},
    {0x47, "7", "Home", 19, 2.5},
    {0x48, "8", "\u2191", 20, 2.5},
    {0x49, "9", "PgUp", 21, 2.5},
    {0x4E, "+", "", 22, 2.5, 1, 2},

    {0x3A, "Caps", "", 0, 3.5, 1.75},
    {0x1E, "A", "", 1.75, 3.5},
    {0x1F, "S", "", 2.75, 3.5},
    {0x20, "D", "", 3.75, 3.5},
    {0x21, "F", "", 4.75, 3.5},
    {0x22, "G", "", 5.75, 3.5},
    {0x23, "H", "", 6.75, 3.5},
    {0x24, "J", "", 7.75, 3.5},
    {0x25, "K", "", 8.75, 3.5},
    {0x26, "L", "", 9.75, 3.5},
    {0x27, ";", ":", 10.75, 3.5},
    {0x28, "'", "\"", 11.75, 3.5},
    {0x1C, "Enter", "", 12.75, 3.5, 2.25},
    {0x4B, "4", "\u2190", 19, 3.5},
    {0x4C, "5", "", 20, 3.5},
    {0x4D, "6", "\u2192", 21, 3.5},

    {0x2A, "Shift", "", 0, 4.5, 2.25},
    {0x2C, "Z", "", 2.25, 4.5},
    {0x2D, "X", "", 3.25, 4.5},
    {0x2E, "C", "", 4.25, 4.5},
    {0x2F, "V", "", 5.25, 4.5},
    {0x30, "B", "", 6.25, 4.5},
    {0x31, "N", "", 7.25, 4.5},
    {0x32, "M", "", 8.25, 4.5},
    {0x33, ",", "<", 9.25, 4.5},
    {0x34, ".", ">", 10.25, 4.5},
    {0x35, "/", "?", 11.25, 4.5},
    {0x36, "Shift", "", 12.25, 4.5, 2.75},
    {0x148, "\u2191", "", 16.5, 4.5},
    {0x4F, "1", "End", 19, 4.5},
    {0x50, "2", "\u2193", 20, 4.5},
    {0x51, "3", "PgDn", 21, 4.5},
    {0x11C, "Enter", "", 22, 4.5, 1, 2},

    {0x1D, "Ctrl", "", 0, 5.5, 1.25},
    {0x15B, "Win", "", 1.25, 5.5, 1.25},
    {0x38, "Alt", "", 2.5, 5.5, 1.25},
    {0x39, "", "", 3.75, 5.5, 6.25},
    {0x138, "Alt", "", 10, 5.5},
    {0x15C, "Win", "", 11, 5.5},
    {0x15D, "Menu", "", 13, 5.5},
    {0x11D, "Ctrl", "", 14, 5.5},
    {0x14B, "\u2190", "", 15.5, 5.5},
    {0x150, "\u2193", "", 16.5, 5.5},
    {0x14D, "\u2192", "", 17.5, 5.5},
    {0x52, "0", "Ins", 19, 5.5, 2},
    {0x53, ".", "Del", 21, 5.5},
};

// The Fn key has no key code; it sits between Right Win and Menu.
const CapPlace kFnCap{0, "Fn", "", 12, 5.5};

QRect CapRect(const CapPlace& cap)
{
    const int left = kKeysLeft + static_cast<int>(cap.x * kUnit) + kCapGap / 2;
    const int top = kKeysTop + static_cast<int>(cap.y * kUnit) + kCapGap / 2;
    return {left, top, static_cast<int>(cap.w * kUnit) - kCapGap, static_cast<int>(cap.h * kUnit) - kCapGap};
}

void AddKeyboard(WindowLayout& layout)
{
    for (int j = 0; j < 9; ++j) {
        const QRect rect(QPoint(kGKeysLeft, kKeysTop + kCapGap / 2 + j * kGKeyPitch), kGKeySize);
        layout.items.push_back(
            {QStringLiteral("FUNC_G%1").arg(j + 1), rect, Look::GKey, QStringLiteral("G%1").arg(j + 1), {}});
    }
    for (const CapPlace& cap : kCaps) {
        const auto index = static_cast<unsigned>(model::KeyIndexOf(cap.code));
        const QString key = QStringLiteral("KEY_%1").arg(index, 3, 16, QLatin1Char('0')).toUpper();
        layout.items.push_back(
            {key, CapRect(cap), Look::Key, QString::fromUtf8(cap.legend), QString::fromUtf8(cap.legend2)});
    }
    layout.items.push_back({QStringLiteral("KEY_FN"), CapRect(kFnCap), Look::Key, QStringLiteral("Fn"), {}});
}

// The indicator row above the numeric keypad and the row-swap group above the G-keys.
void AddIndicators(WindowLayout& layout)
{
    const int lampTop = kKeysTop + kCapGap / 2;
    const int padLeft = kKeysLeft + 19 * kUnit;
    layout.items.push_back({"LOCK_NUM", {padLeft, lampTop, 38, 34}, Look::Lamp, "NUM", {}});
    layout.items.push_back({"LOCK_CAPS", {padLeft + 40, lampTop, 38, 34}, Look::Lamp, "CAPS", {}});
    layout.items.push_back({"LOCK_SCROLL", {padLeft + 80, lampTop, 38, 34}, Look::Lamp, "SCRL", {}});
    layout.items.push_back({"LOCK_AB", {padLeft + 120, lampTop, 40, 34}, Look::Bank, "A", "B"});

    layout.items.push_back({"FLIP_1", {32, 120, 24, 24}, Look::Icon, "swap", {}});
    layout.items.push_back({"LEFT_ARROW", {58, 120, kArrowSize.width(), kArrowSize.height()}, Look::None, {}, {}});
    layout.items.push_back({"FLIP_0", {74, 120, 96, 24}, Look::Caption, "F1 \u2013 F4", "D1 \u2013 D6"});
    layout.items.push_back({"RIGHT_ARROW", {172, 120, kArrowSize.width(), kArrowSize.height()}, Look::None, {}, {}});
    layout.items.push_back({"FLIP_2", {188, 120, 24, 24}, Look::Icon, "swap", {}});
    // D1 to D6, the row the swap brings in, beside the swap group.
    for (int d = 0; d < 6; ++d) {
        layout.items.push_back({QStringLiteral("FUNC_D%1").arg(d + 1),
                                {222 + d * 46, 120, 42, 24},
                                Look::DKey,
                                QStringLiteral("D%1").arg(d + 1),
                                {}});
    }

    // Where the arrows lie in Arrow.jpg: up and down for each side.
    const int a = kArrowSize.width() + 4;
    layout.imageOffsets = {
        {"UP_ARROW_LEFT1", {1, 1, kArrowSize.width(), kArrowSize.height()}, Look::Icon, "arrow-up", {}},
        {"DOWN_ARROW_LEFT1", {1 + a, 1, kArrowSize.width(), kArrowSize.height()}, Look::Icon, "arrow-down", {}},
        {"UP_ARROW_RIGHT1", {1 + 2 * a, 1, kArrowSize.width(), kArrowSize.height()}, Look::Icon, "arrow-up", {}},
        {"DOWN_ARROW_RIGHT1", {1 + 3 * a, 1, kArrowSize.width(), kArrowSize.height()}, Look::Icon, "arrow-down", {}},
        {"LEFT_ARROW", {1 + a, 1, kArrowSize.width(), kArrowSize.height()}, Look::None, {}, {}},
        {"RIGHT_ARROW", {1 + 3 * a, 1, kArrowSize.width(), kArrowSize.height()}, Look::None, {}, {}},
    };
}

void AddWindowButtons(WindowLayout& layout)
{
    const std::vector<SkinItem> items = {
        {"OSTRIM_VER", {150, 22, 140, 16}, Look::None, {}, {}},
        {"CONTROL_MENU", {1126, 12, 30, 26}, Look::Icon, "menu", {}},
        {"CONTROL_HELP", {1160, 12, 30, 26}, Look::Icon, "help", {}},
        {"CONTROL_MINIMIZE", {1194, 12, 30, 26}, Look::Icon, "minimize", {}},
        {"CONTROL_CLOSE", {1228, 12, 30, 26}, Look::Close, "close", {}},

        {"FUNC_PROFILES", {150, 454, 300, 76}, Look::Slanted, {}, {}},
        {"FUNC_PROFILE1", {18, 62, 92, 36}, Look::Choice, {}, {}},
        {"FUNC_PROFILE2", {114, 62, 92, 36}, Look::Choice, {}, {}},
        {"FUNC_PROFILE3", {210, 62, 92, 36}, Look::Choice, {}, {}},
        {"FUNC_MACRO", {318, 62, 100, 36}, Look::Push, {}, {}},
        {"FUNC_DEFAULT", {422, 62, 110, 36}, Look::Push, {}, {}},
        {"FUNC_SWITCH", {740, 66, 28, 28}, Look::None, {}, {}},
        {"CONTROL_UsbStatic", {776, 62, 84, 36}, Look::None, {}, {}},
        {"FUNC_REPORT1", {862, 62, 42, 36}, Look::Choice, "1000", "Hz"},
        {"FUNC_REPORT2", {906, 62, 42, 36}, Look::Choice, "500", "Hz"},
        {"FUNC_REPORT3", {950, 62, 42, 36}, Look::Choice, "250", "Hz"},
        {"FUNC_REPORT4", {994, 62, 42, 36}, Look::Choice, "125", "Hz"},

        {"OSTRIM_LINK", {18, 476, 32, 32}, Look::Link, "globe", {}},
        {"FACEBOOK_LINK", {56, 476, 32, 32}, Look::Link, "people", {}},
        {"TWITTER_LINK", {94, 476, 32, 32}, Look::Link, "chat", {}},
        {"CONTROL_JDTStatic", {QPoint(700, 486), kProgressSize}, Look::None, {}, {}},
        {"CONTROL_OK", {938, 475, 104, 34}, Look::Push, {}, {}},
        {"CONTROL_CANCEL", {1048, 475, 104, 34}, Look::Push, {}, {}},
        {"CONTROL2_APPLY", {1158, 475, 104, 34}, Look::Push, {}, {}},
    };
    layout.items.insert(layout.items.end(), items.begin(), items.end());
}

// The lighting panel: controls the program shows by effect. Rows that never show together
// (speed and direction, per-key tools) share their place.
void AddLightingPanel(WindowLayout& layout)
{
    const int left = 1062;
    const int width = 188;
    const int sliderLeft = left + (width - kSliderSize.width()) / 2;
    const std::vector<SkinItem> items = {
        {"CONTROL_DengStaPic", {QPoint(left, 74), kTogglePictureSize}, Look::None, {}, {}},
        {"CONTROL_DengStatic", {left + 56, 74, width - 56, 24}, Look::None, {}, {}},
        {"CONTROL_XGcombox", {left, 118, width, 26}, Look::None, {}, {}},
        {"CONTROL_LightStatic", {left, 154, width, 18}, Look::None, {}, {}},
        {"CONTROL_LightSlider", {QPoint(sliderLeft, 174), kSliderSize}, Look::None, {}, {}},
        {"CONTROL_SpeedStatic", {left, 212, width, 18}, Look::None, {}, {}},
        {"CONTROL_SpeedSlider", {QPoint(sliderLeft, 232), kSliderSize}, Look::None, {}, {}},
        {"CONTROL_umStatic", {left, 212, width, 18}, Look::None, {}, {}},
        {"CONTROL_umCombo", {left, 232, width, 26}, Look::None, {}, {}},
        {"CONTROL_USERgjStatic", {left, 266, width, 18}, Look::None, {}, {}},
        {"CONTROL_USERgjStaPic1", {QPoint(left + 14, 286), kToolPictureSize}, Look::None, {}, {}},
        {"CONTROL_USERgjStaPic2", {QPoint(left + 102, 286), kToolPictureSize}, Look::None, {}, {}},
        {"CONTROL_HXsjsStaPic", {QPoint(left, 324), kAllLampsPictureSize}, Look::None, {}, {}},
        {"CONTROL_HXsjsStatic", {left + 32, 324, 60, 24}, Look::None, {}, {}},
        {"CONTROL_LEDsjsStaPic", {QPoint(left + 96, 324), kAllLampsPictureSize}, Look::None, {}, {}},
        {"CONTROL_LEDsjsStatic", {left + 128, 324, 60, 24}, Look::None, {}, {}},
    };
    layout.items.insert(layout.items.end(), items.begin(), items.end());
    for (const char* suffix : {"", "2", "3"}) {
        layout.items.push_back(
            {QStringLiteral("CONTROL_BLFXStatic") + suffix, {left, 270, width, 18}, Look::None, {}, {}});
        layout.items.push_back({QStringLiteral("CONTROL_BLFXLStaPic") + suffix,
                                {QPoint(left + 14, 290), kDirectionPictureSize},
                                Look::None,
                                {},
                                {}});
        layout.items.push_back({QStringLiteral("CONTROL_BLFXRStaPic") + suffix,
                                {QPoint(left + 102, 290), kDirectionPictureSize},
                                Look::None,
                                {},
                                {}});
    }
    // Colour buttons, palette pictures and trigger options: placed, never shown.
    const QStringList hidden = {
        "CONTROL_FYYSStatic",   "CONTROL_FYYSButton",   "CONTROL_FYSJSStaPic",  "CONTROL_FYSJSStatic",
        "CONTROL_FYCFStatic",   "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc",  "CONTROL_FYdjcfStaPic",
        "CONTROL_FYggcfStaPic", "CONTROL_HONGPIC",      "CONTROL_HUANGPIC",     "CONTROL_LVPIC",
        "CONTROL_LANPIC",       "CONTROL_HXysStatic",   "CONTROL_HXysButton",   "CONTROL_JTysStatic",
        "CONTROL_JTysButton",   "CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic",
        "CONTROL_USERjsButton", "CONTROL_TSysStatic",   "CONTROL_TSysButton",   "CONTROL_TSsjsStatic",
        "CONTROL_TSsjsStaPic",  "CONTROL_CDysStatic",   "CONTROL_CDysButton",   "CONTROL_CDsjsStatic",
        "CONTROL_CDsjsStaPic",
    };
    for (int i = 0; i < hidden.size(); ++i) {
        layout.items.push_back({hidden[i], {left + (i % 4) * 47, 340 + (i / 4) * 12, 45, 10}, Look::None, {}, {}});
    }
}

} // namespace

WindowLayout MainLayout()
{
    WindowLayout layout{QStringLiteral("Main"), kMainSize, {}, {}};
    AddKeyboard(layout);
    AddIndicators(layout);
    AddWindowButtons(layout);
    AddLightingPanel(layout);
    return layout;
}

const SkinItem* FindItem(const WindowLayout& layout, const QString& key)
{
    for (const SkinItem& item : layout.items) {
        if (item.key == key)
            return &item;
    }
    return nullptr;
}

} // namespace tavrix::skingen
