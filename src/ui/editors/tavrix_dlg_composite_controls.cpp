#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <array>

#include "controls/caption_style.h"
#include "controls/color_static.h"
#include "controls/control_id.h"
#include "model/key_names.h"
#include "model/media_keys.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"
#include "ui/editors/editor_style.h"
#include "ui/editors/tavrix_dlg_composite.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

// The dialog's controls: its sheets, making and placing the controls, their texts, and showing
// the dialog's state on them.
namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";

constexpr int kHeadingId = 1199;
constexpr int kKeyLabelId = 1201;
constexpr int kMediaLabelId = 1202;
constexpr int kFunctionLabelId = 1203;
constexpr int kKeyboardModeLabelId = 1134;
constexpr int kMouseModeLabelId = 1135;

struct SkinButton {
    int id;
    const char* skinKey;
    bool captioned;
};

// The buttons on every page, in the order they are made (the mask first: the page's controls lie
// over it).
constexpr std::array<SkinButton, 11> kButtons{{
    {kMaskId, "CONTROL_MASK", false},
    {kTitleId, "CONTROL_TITLE", false},
    {kOnScreenKeyboardId, "CONTROL_OSK", false},
    {kClearId, "CONTROL_CLEAR", false},
    {kKeyPageId, "CONTROL_KEY", true},
    {kMacroPageId, "CONTROL_MACRO", true},
    {kMediaPageId, "CONTROL_MEDIA", true},
    {kFunctionPageId, "CONTROL_FUNCTION", true},
    {skin::IDOK, "CONTROL_OK", true},
    {skin::IDCANCEL, "CONTROL_CANCEL", true},
    {kCompositeApplyId, "CONTROL2_APPLY", true},
}};

struct SkinControl {
    int id;
    const char* skinKey;
};

constexpr std::array<SkinControl, 6> kLabels{{
    {kHeadingId, "KEY_SETTING"},
    {kKeyLabelId, "TISHI_SINGLE_STATIC"},
    {kMediaLabelId, "MEDIA_SETTING_TISHI"},
    {kFunctionLabelId, "FUNCTION_KEY_SETTING_TISHI"},
    {kKeyboardModeLabelId, "FUNC_KEY_RADIO_KB_STATIC"},
    {kMouseModeLabelId, "FUNC_KEY_RADIO_MOU_STATIC"},
}};

constexpr std::array<SkinControl, 6> kFields{{
    {kKeyEditId, "FUNC_KEY_INPUT"},
    {kKeyboardModeId, "FUNC_KEY_RADIO_KB"},
    {kMouseModeId, "FUNC_KEY_RADIO_MOU"},
    {kMouseListId, "FUNC_KEY_COMBO_MOU"},
    {kMediaListId, "FUNC_MEDIA_SELECT"},
    {kFunctionListId, "FUNC_FUNCTION_SELECT"},
}};

// What each page shows besides the heading, which every page shows.
constexpr std::array<int, 7> kKeyPageControls{kKeyEditId,           kKeyboardModeId,   kMouseModeId, kMouseListId,
                                              kKeyboardModeLabelId, kMouseModeLabelId, kKeyLabelId};
constexpr std::array<int, 2> kMediaPageControls{kMediaListId, kMediaLabelId};
constexpr std::array<int, 2> kFunctionPageControls{kFunctionListId, kFunctionLabelId};

struct PageButton {
    int id;
    Page page;
    const char* textKey;
};

constexpr std::array<PageButton, 4> kPageButtons{{
    {kKeyPageId, Page::Key, "SINGLE_KEY"},
    {kMacroPageId, Page::Macro, "MACRO_SETTING"},
    {kMediaPageId, Page::Media, "MULTI_MEDIA"},
    {kFunctionPageId, Page::Function, "FUNCTION_KEY"},
}};

// The captured key's name: read-only, and shown whole rather than selected when it takes the
// focus.
class KeyEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        deselect();
    }
};

template <typename Control> Control* Make(QWidget& dialog, int id)
{
    auto* control = new Control(&dialog);
    controls::SetDlgCtrlID(*control, id);
    return control;
}

} // namespace

controls::CPngButton* Tavrix_DlgComposite::Button(int id) const
{
    return GetDlgItem<controls::CPngButton>(id);
}

QComboBox* Tavrix_DlgComposite::List(int id) const
{
    return GetDlgItem<QComboBox>(id);
}

controls::ButtonSheets Tavrix_DlgComposite::ButtonSheetsOf(const SheetSet& set) const
{
    return {&set.normal, &set.over, &set.down, &set.disabled, &set.down};
}

void Tavrix_DlgComposite::MakeSheets()
{
    const std::string& folder = m_window.Paths().exeFolder;
    const struct {
        SheetSet* set;
        const char* prefix;
        bool ownDisabled; // a set without a disabled picture shows its normal one
    } kSets[] = {
        {&m_keySet, "key", false},     {&m_macroSet, "macro", true},        {&m_macro2Set, "macro2", true},
        {&m_mediaSet, "media", false}, {&m_functionSet, "function", false},
    };
    for (const auto& [set, prefix, ownDisabled] : kSets) {
        const auto make = [&](QPixmap& sheet, const char* suffix) {
            skin::MakeStateSheet(sheet, skin::LoadSkinImage(folder, std::string("Skins\\") + prefix + suffix), *this);
        };
        make(set->normal, "_normal.jpg");
        make(set->over, "_over.jpg");
        make(set->down, "_down.jpg");
        make(set->disabled, ownDisabled ? "_disable.jpg" : "_normal.jpg");
    }
}

void Tavrix_DlgComposite::MakeControls()
{
    for (const SkinButton& entry : kButtons) {
        auto* button = new controls::CPngButton(entry.id, this);
        if (entry.captioned) {
            button->SetTextStyle(true, 9, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                                 controls::kCentredCaption);
        }
    }
    for (const SkinControl& label : kLabels) {
        auto* control = new controls::ColorStatic(label.id, this);
        control->SetLabelColor(kEditorLabelColor);
        control->setFont(EditorFont(10.8, *this));
    }
    auto* keyEdit = Make<KeyEdit>(*this, kKeyEditId);
    keyEdit->setReadOnly(true);
    keyEdit->setAlignment(Qt::AlignCenter);
    keyEdit->setFont(EditorFont(18, *this));
    StyleEditorControl(*keyEdit);
    for (int id : {kKeyboardModeId, kMouseModeId}) {
        auto* box = Make<QCheckBox>(*this, id);
        QObject::connect(box, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
    }
    for (int id : {kMouseListId, kMediaListId, kFunctionListId}) {
        auto* list = Make<QComboBox>(*this, id);
        list->setFont(EditorFont(12, *this));
        StyleEditorControl(*list);
    }
    m_macroPage.Create();
}

void Tavrix_DlgComposite::PlaceControls()
{
    const std::string& ini = SkinIniPath();
    for (const SkinButton& entry : kButtons) {
        if (entry.id != kMaskId) {
            skin::PlaceSkinButton(*Button(entry.id), ini, kSection, entry.skinKey, ButtonSheetsOf(m_keySet));
        }
    }
    for (const std::array<SkinControl, 6>* group : {&kLabels, &kFields}) {
        for (const SkinControl& control : *group) {
            skin::PlaceSkinControl(*GetDlgItem(control.id), ini, kSection, control.skinKey);
        }
    }
    m_macroPage.Place(ini, ButtonSheetsOf(m_macroSet));
}

void Tavrix_DlgComposite::FillLists()
{
    const model::TextLookup lookup = LangLookup(skin::GetLanguageIndex());
    const auto fill = [this](int id, const auto& entries, const auto& text) {
        QComboBox* list = List(id);
        list->clear();
        for (const auto& entry : entries) {
            list->addItem(QString::fromStdU16String(text(entry)));
        }
        list->setCurrentIndex(0);
    };
    fill(kMediaListId, model::MediaList, [&](const model::MediaKey& key) { return model::KeyName(key.code, lookup); });
    fill(kFunctionListId, model::FunctionList, lookup);
    fill(kMouseListId, model::MouseActionList, [&](uint16_t code) { return model::KeyName(code, lookup); });
}

void Tavrix_DlgComposite::SetTexts(int languageIndex)
{
    if (!m_controlsMade) {
        return;
    }
    const bool macroOnly = m_state.IsMacroOnly();
    for (const PageButton& entry : kPageButtons) {
        const bool blank = macroOnly && entry.page != Page::Macro;
        Button(entry.id)->setText(blank ? QString() : LangText(entry.textKey, languageIndex));
    }
    const std::pair<int, const char*> kTexts[] = {
        {kHeadingId, macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"},
        {skin::IDOK, "MACRO_OK"},
        {skin::IDCANCEL, "MACRO_CANCLE"},
        {kCompositeApplyId, "PROFILE_APPLY"},
        {kKeyboardModeLabelId, "IDS_MACRO_KB_KEY"},
        {kMouseModeLabelId, "IDS_MACRO_MOU_KEY"},
        {kKeyLabelId, "SINGLE_STATIC"},
        {kMediaLabelId, "MEDIA_EDIT_TISHI"},
        {kFunctionLabelId, "FUNCTION_TISHI"},
    };
    for (const auto& [id, key] : kTexts) {
        if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) {
            button->setText(LangText(key, languageIndex));
        } else {
            static_cast<controls::ColorStatic*>(GetDlgItem(id))->setText(LangText(key, languageIndex));
        }
    }
    setWindowTitle(LangText(macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI", languageIndex));
    Button(kClearId)->SetTooltipText(LangText("COMPOSITE_PROMPT_CLEAR", languageIndex), true);
    Button(kOnScreenKeyboardId)->SetTooltipText(LangText("COMPOSITE_PROMPT_OSK", languageIndex), true);
    m_macroPage.SetTexts(languageIndex);
    Render();
}

void Tavrix_DlgComposite::Render()
{
    if (!m_controlsMade) {
        return;
    }
    const Page page = m_state.ShownPage();
    const auto show = [this](const auto& ids, bool shown) {
        for (int id : ids) {
            GetDlgItem(id)->setVisible(shown);
        }
    };
    show(kKeyPageControls, page == Page::Key);
    show(kMediaPageControls, page == Page::Media);
    show(kFunctionPageControls, page == Page::Function);
    m_macroPage.SetShown(page == Page::Macro);
    for (const PageButton& entry : kPageButtons) {
        Button(entry.id)->SetSelected(entry.page == page, true);
    }

    const bool mouse = m_state.IsMouseMode();
    const uint16_t shownKey = model::KeyOfSlotValue(m_state.ShownKey());
    auto* keyEdit = GetDlgItem<QLineEdit>(kKeyEditId);
    keyEdit->setText(shownKey == model::kNoKey
                         ? QString()
                         : QString::fromStdU16String(model::KeyName(shownKey, LangLookup(skin::GetLanguageIndex()))));
    keyEdit->setEnabled(!mouse);
    GetDlgItem<QCheckBox>(kKeyboardModeId)->setChecked(!mouse);
    GetDlgItem<QCheckBox>(kMouseModeId)->setChecked(mouse);
    List(kMouseListId)->setEnabled(mouse);
    Button(kCompositeApplyId)->setEnabled(m_state.IsChanged());
    UpdateCapture();
}

} // namespace tavrix::ui
