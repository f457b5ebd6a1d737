#include "skin_layout.h"

namespace tavrix::skingen {

namespace {

constexpr QSize kCompositeSize{860, 470};
constexpr QSize kProfileSize{460, 300};
constexpr QSize kUpdateSize{420, 152};

} // namespace

// The key-assignment dialog: title row, four page tabs, the page area (the mask button, whose
// picture changes with the page) and the closing row. Controls of the four pages lie over the
// page area. The macro page's action list has three 170-pixel columns, with its tool buttons to
// its right and the record row below it; the repeat count sits in the closing row, whose label
// no page hides.
WindowLayout CompositeLayout()
{
    WindowLayout layout{QStringLiteral("Composite"), kCompositeSize, {}, {}};
    layout.items = {
        {"CONTROL_TITLE", {18, 12, 300, 28}, Look::Title, "Key assignment", "Macro editor"},
        {"CONTROL_OSK", {772, 12, 32, 28}, Look::Icon, "keyboard", {}},
        {"CONTROL_CLEAR", {810, 12, 32, 28}, Look::Icon, "eraser", {}},
        {"CONTROL_KEY", {18, 52, 130, 32}, Look::Tab, {}, {}},
        {"CONTROL_MACRO", {152, 52, 130, 32}, Look::Tab, {}, {}},
        {"CONTROL_MEDIA", {286, 52, 130, 32}, Look::Tab, {}, {}},
        {"CONTROL_FUNCTION", {420, 52, 130, 32}, Look::Tab, {}, {}},
        {"CONTROL_MASK", {18, 90, 824, 318}, Look::Page, {}, {}},
        {"CONTROL2_APPLY", {522, 422, 100, 32}, Look::Push, {}, {}},
        {"CONTROL_OK", {632, 422, 100, 32}, Look::Push, {}, {}},
        {"CONTROL_CANCEL", {742, 422, 100, 32}, Look::Push, {}, {}},

        {"KEY_SETTING", {30, 98, 560, 22}, Look::None, {}, {}},
        {"TISHI_SINGLE_STATIC", {30, 130, 560, 22}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_KB", {40, 176, 18, 18}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_KB_STATIC", {62, 174, 240, 22}, Look::None, {}, {}},
        {"FUNC_KEY_INPUT", {40, 208, 320, 52}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_MOU", {420, 176, 18, 18}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_MOU_STATIC", {442, 174, 240, 22}, Look::None, {}, {}},
        {"FUNC_KEY_COMBO_MOU", {420, 208, 320, 32}, Look::None, {}, {}},
        {"MEDIA_SETTING_TISHI", {30, 130, 560, 22}, Look::None, {}, {}},
        {"FUNC_MEDIA_SELECT", {40, 170, 360, 32}, Look::None, {}, {}},
        {"FUNCTION_KEY_SETTING_TISHI", {30, 130, 560, 22}, Look::None, {}, {}},
        {"FUNC_FUNCTION_SELECT", {40, 170, 360, 32}, Look::None, {}, {}},

        {"MARCO_NAME_SETTING", {30, 126, 200, 20}, Look::None, {}, {}},
        {"FUNC_MACRO_LIST", {30, 150, 200, 30}, Look::None, {}, {}},
        {"FUNC_MACRO_ADD", {30, 190, 96, 30}, Look::Icon, "plus", {}},
        {"FUNC_MACRO_DELETE", {134, 190, 96, 30}, Look::Icon, "minus", {}},
        {"FUNC_MACRO_LIST2", {244, 126, 532, 236}, Look::None, {}, {}},
        {"FUNC_MACRO_DELETE2", {786, 126, 48, 32}, Look::Icon, "delete", {}},
        {"FUNC_MACRO_CLEAR", {786, 166, 48, 32}, Look::Icon, "trash", {}},
        {"FUNC_MACRO_UP_TOP", {786, 206, 48, 32}, Look::Icon, "top", {}},
        {"FUNC_MACRO_UP", {786, 246, 48, 32}, Look::Icon, "up", {}},
        {"FUNC_MACRO_DOWN", {786, 286, 48, 32}, Look::Icon, "down", {}},
        {"FUNC_MACRO_DOWN_BOTTOM", {786, 326, 48, 32}, Look::Icon, "bottom", {}},
        {"FUNC_MACRO_RECORD", {244, 370, 110, 30}, Look::Push, {}, {}},
        {"FUNC_MACRO_RECORD_DELAY", {370, 376, 18, 18}, Look::None, {}, {}},
        {"FUNC_MACRO_RECORD_DELAY2", {392, 374, 240, 22}, Look::None, {}, {}},
        {"FUNC_MACRO_CYCLES_PROMPT", {18, 427, 130, 22}, Look::None, {}, {}},
        {"FUNC_MACRO_CYCLES", {152, 426, 64, 24}, Look::None, {}, {}},
    };
    return layout;
}

WindowLayout ProfileLayout()
{
    WindowLayout layout{QStringLiteral("Profile"), kProfileSize, {}, {}};
    layout.items = {
        {"PROGRAM_LIST", {18, 52, 424, 156}, Look::None, {}, {}},
        {"FUNC_ADD", {18, 216, 90, 30}, Look::Push, {}, {}},
        {"FUNC_LOAD", {114, 216, 90, 30}, Look::Push, {}, {}},
        {"FUNC_DELETE", {210, 216, 90, 30}, Look::Push, {}, {}},
        {"CONTROL_OK", {190, 258, 80, 30}, Look::Push, {}, {}},
        {"CONTROL_CANCEL", {276, 258, 80, 30}, Look::Push, {}, {}},
        {"CONTROL2_APPLY", {362, 258, 80, 30}, Look::Push, {}, {}},
    };
    return layout;
}

WindowLayout UpdateLayout()
{
    WindowLayout layout{QStringLiteral("UpdateDlg"), kUpdateSize, {}, {}};
    layout.items = {
        {"CONTROL_UPStatic", {18, 58, 300, 26}, Look::None, {}, {}},
        {"CONTROL_UPCombox", {18, 58, 300, 26}, Look::None, {}, {}},
        {"CONTROL_OPENButton", {324, 56, 78, 30}, Look::Push, {}, {}},
        {"CONTROL_BACKUPButton", {18, 104, 120, 32}, Look::Push, {}, {}},
        {"CONTROL_UPButton", {152, 104, 120, 32}, Look::Push, {}, {}},
        {"CONTROL_CUPButton", {286, 104, 116, 32}, Look::Push, {}, {}},
    };
    return layout;
}

} // namespace tavrix::skingen
