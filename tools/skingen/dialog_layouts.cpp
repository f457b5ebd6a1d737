#include "skin_layout.h"

namespace tavrix::skingen {

namespace {

constexpr QSize kCompositeSize{560, 400};
constexpr QSize kProfileSize{460, 300};
constexpr QSize kUpdateSize{420, 210};

} // namespace

// The key-assignment dialog: title row, four page tabs, the page area (the mask button, whose
// picture changes with the page) and the closing row. Controls of the four pages lie over the
// page area; the macro page's rows are its own.
WindowLayout CompositeLayout()
{
    WindowLayout layout{QStringLiteral("Composite"), kCompositeSize, {}, {}};
    layout.items = {
        {"CONTROL_TITLE", {18, 12, 300, 28}, Look::Title, "Key assignment", "Macro editor"},
        {"CONTROL_OSK", {470, 12, 32, 28}, Look::Icon, "keyboard", {}},
        {"CONTROL_CLEAR", {508, 12, 32, 28}, Look::Icon, "eraser", {}},
        {"CONTROL_KEY", {18, 52, 126, 32}, Look::Tab, {}, {}},
        {"CONTROL_MACRO", {148, 52, 126, 32}, Look::Tab, {}, {}},
        {"CONTROL_MEDIA", {278, 52, 126, 32}, Look::Tab, {}, {}},
        {"CONTROL_FUNCTION", {408, 52, 126, 32}, Look::Tab, {}, {}},
        {"CONTROL_MASK", {18, 90, 524, 254}, Look::Page, {}, {}},
        {"CONTROL_OK", {330, 356, 100, 32}, Look::Push, {}, {}},
        {"CONTROL_CANCEL", {440, 356, 100, 32}, Look::Push, {}, {}},

        {"KEY_SETTING", {30, 98, 500, 20}, Look::None, {}, {}},
        {"TISHI_SINGLE_STATIC", {30, 126, 500, 20}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_KB", {40, 162, 18, 18}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_KB_STATIC", {62, 160, 200, 22}, Look::None, {}, {}},
        {"FUNC_KEY_INPUT", {40, 192, 220, 44}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_MOU", {290, 162, 18, 18}, Look::None, {}, {}},
        {"FUNC_KEY_RADIO_MOU_STATIC", {312, 160, 200, 22}, Look::None, {}, {}},
        {"FUNC_KEY_COMBO_MOU", {290, 192, 220, 30}, Look::None, {}, {}},
        {"MEDIA_SETTING_TISHI", {30, 126, 500, 20}, Look::None, {}, {}},
        {"FUNC_MEDIA_SELECT", {40, 162, 300, 30}, Look::None, {}, {}},
        {"FUNCTION_KEY_SETTING_TISHI", {30, 126, 500, 20}, Look::None, {}, {}},
        {"FUNC_FUNCTION_SELECT", {40, 162, 300, 30}, Look::None, {}, {}},

        {"MARCO_NAME_SETTING", {30, 122, 170, 18}, Look::None, {}, {}},
        {"FUNC_MACRO_LIST", {30, 142, 170, 148}, Look::None, {}, {}},
        {"FUNC_MACRO_ADD", {30, 298, 82, 28}, Look::Icon, "plus", {}},
        {"FUNC_MACRO_DELETE", {118, 298, 82, 28}, Look::Icon, "minus", {}},
        {"FUNC_MACRO_LIST2", {210, 122, 236, 176}, Look::None, {}, {}},
        {"FUNC_MACRO_RECORD_DELAY", {210, 306, 18, 18}, Look::None, {}, {}},
        {"FUNC_MACRO_RECORD_DELAY2", {232, 304, 210, 22}, Look::None, {}, {}},
        {"FUNC_MACRO_RECORD", {454, 122, 80, 30}, Look::Push, {}, {}},
        {"FUNC_MACRO_DELETE2", {454, 160, 80, 26}, Look::Icon, "delete", {}},
        {"FUNC_MACRO_CLEAR", {454, 190, 80, 26}, Look::Icon, "trash", {}},
        {"FUNC_MACRO_UP_TOP", {454, 220, 80, 26}, Look::Icon, "top", {}},
        {"FUNC_MACRO_UP", {454, 250, 80, 26}, Look::Icon, "up", {}},
        {"FUNC_MACRO_DOWN", {454, 280, 80, 26}, Look::Icon, "down", {}},
        {"FUNC_MACRO_DOWN_BOTTOM", {454, 310, 80, 26}, Look::Icon, "bottom", {}},
        {"FUNC_MACRO_CYCLES_PROMPT", {18, 362, 130, 22}, Look::None, {}, {}},
        {"FUNC_MACRO_CYCLES", {152, 361, 56, 24}, Look::None, {}, {}},
    };
    return layout;
}

WindowLayout ProfileLayout()
{
    WindowLayout layout{QStringLiteral("Profile"), kProfileSize, {}, {}};
    layout.items = {
        {"PROGRAM_LIST", {18, 52, 424, 156}, Look::None, {}, {}},
        {"FUNC_ADD", {18, 216, 90, 30}, Look::Labelled, "Add", {}},
        {"FUNC_LOAD", {114, 216, 90, 30}, Look::Labelled, "Load", {}},
        {"FUNC_DELETE", {210, 216, 90, 30}, Look::Labelled, "Delete", {}},
        {"CONTROL_OK", {190, 258, 80, 30}, Look::Labelled, "OK", {}},
        {"CONTROL_CANCEL", {276, 258, 80, 30}, Look::Labelled, "Cancel", {}},
        {"CONTROL2_APPLY", {362, 258, 80, 30}, Look::Labelled, "Apply", {}},
    };
    return layout;
}

WindowLayout UpdateLayout()
{
    WindowLayout layout{QStringLiteral("UpdateDlg"), kUpdateSize, {}, {}};
    layout.items = {
        {"CONTROL_UPStatic", {18, 64, 300, 26}, Look::None, {}, {}},
        {"CONTROL_UPCombox", {18, 64, 300, 26}, Look::None, {}, {}},
        {"CONTROL_OPENButton", {324, 62, 78, 30}, Look::Labelled, "Browse", {}},
        {"CONTROL_BACKUPButton", {18, 156, 120, 32}, Look::Labelled, "Back up", {}},
        {"CONTROL_UPButton", {152, 156, 120, 32}, Look::Labelled, "Update", {}},
        {"CONTROL_CUPButton", {286, 156, 116, 32}, Look::Labelled, "Cancel", {}},
    };
    return layout;
}

} // namespace tavrix::skingen
