#include "ui/editors/tavrix_dlg_composite.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <array>

#include "device/commands.h"
#include "model/model_editor.h"
#include "platform/shell_open.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "ui/editors/dialog_placement.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/tavrix_dlg.h"

namespace tavrix::ui {

namespace {

// On-screen keyboards a Linux desktop may have installed, tried in this order.
constexpr std::array<const char*, 2> kOnScreenKeyboards{"onboard", "florence"};

ScreenRect ScreenRectOf(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

model::ModelEditor& EditorOf(CTavrixDlg& window)
{
    return window.Sync().Editor();
}

} // namespace

Tavrix_DlgComposite::Tavrix_DlgComposite(CTavrixDlg& window)
    : skin::CBaseDialog(kTemplateId, nullptr, window.Paths().compositeSkinFile, window.Paths().compositeSkinFolder),
      m_window(window), m_macroPage(
                            *this,
                            [this] {
                                m_state.MarkChanged();
                                Render();
                            },
                            [this](uint16_t number) { return EditorOf(m_window).IsMacroAssigned(number); }),
      m_capture([this] { return !m_state.IsMouseMode(); }, [this](uint16_t code) { OnCapture(code); })
{
}

Tavrix_DlgComposite::~Tavrix_DlgComposite() = default;

int Tavrix_DlgComposite::OpenForKey(int buttonId)
{
    const std::optional<size_t> slot = m_window.Keyboard().KeySlotOf(buttonId);
    const int profile = m_window.CurrentProfile();
    if (IsOpen() || !slot || profile < 0 || profile >= device::kProfileCount) {
        return -1;
    }
    m_buttonId = buttonId;
    m_slot = *slot;
    m_profile = profile;
    if (auto* button = m_window.GetDlgItem<controls::CPngButton>(buttonId)) {
        button->SetSelected(true, true);
    }
    // Every opening sets the dialog up afresh from the model.
    OnInitDialog();
    return exec();
}

bool Tavrix_DlgComposite::OnInitDialog()
{
    skin::CBaseDialog::OnInitDialog();
    ++m_openCount;
    if (!m_controlsMade) {
        MakeSheets();
        MakeControls();
        m_controlsMade = true;
    }
    const bool macroOnly = m_buttonId == kGKeyIds.back();
    PlaceControls();
    FillLists();
    model::ModelEditor& editor = EditorOf(m_window);
    m_macroPage.Load(editor.CopyMacros());
    m_state.Open(m_slot, macroOnly, editor.ReadKeySlot(m_profile, m_slot));
    for (int id : {kKeyPageId, kMediaPageId, kFunctionPageId, kClearId}) {
        Button(id)->setEnabled(!macroOnly);
    }
    if (macroOnly) {
        for (int id : {kKeyPageId, kMediaPageId, kFunctionPageId, kClearId, kTitleId}) {
            Button(id)->SetSheets(ButtonSheetsOf(m_macro2Set));
        }
    }
    ShowPage(true);
    // What showing the page wrote into its fields is no edit.
    m_state.MarkUnchanged();
    Render();
    PlaceDialog();
    SendMessage(UM_LANG, kLangTag, skin::GetLanguageIndex());
    return true;
}

void Tavrix_DlgComposite::PlaceDialog()
{
    const QWidget* button = m_window.GetDlgItem(m_buttonId);
    const QRect key =
        button != nullptr ? QRect(button->mapToGlobal(QPoint(0, 0)), button->size()) : m_window.geometry();
    const QScreen* screen = QGuiApplication::screenAt(key.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const ScreenRect area = ScreenRectOf(screen->availableGeometry());
    const ScreenPoint at = m_state.IsMacroOnly() ? PlaceCentred(width(), height(), area)
                                                 : PlaceBesideKey(ScreenRectOf(key), width(), height(), area);
    move(at.x, at.y);
}

void Tavrix_DlgComposite::ShowPage(bool fromModel)
{
    const Page page = m_state.ShownPage();
    const SheetSet& set = page == Page::Macro      ? m_macroSet
                          : page == Page::Media    ? m_mediaSet
                          : page == Page::Function ? m_functionSet
                                                   : m_keySet;
    skin::PlaceSkinButton(*Button(kMaskId), SkinIniPath(), "BUTTONINFO", "CONTROL_MASK",
                          {&set.normal, &set.over, &set.down, &set.disabled, &set.normal});
    const uint32_t stored = m_state.StoredValue();
    switch (page) {
    case Page::Key:
        if (fromModel && m_state.IsMouseMode()) {
            List(kMouseListId)->setCurrentIndex(MouseEntryOf(m_state.CapturedCode()).value_or(-1));
        }
        m_capture.Start();
        m_grabPending = true;
        break;
    case Page::Macro:
        m_macroPage.Select(m_state.MacroSelectionOnShow(fromModel), stored);
        break;
    case Page::Media:
    case Page::Function: {
        QComboBox* list = List(page == Page::Media ? kMediaListId : kFunctionListId);
        if (fromModel) {
            list->setCurrentIndex(stored < static_cast<uint32_t>(list->count()) ? static_cast<int>(stored) : -1);
        }
        break;
    }
    }
    if (page != Page::Key) {
        m_capture.Stop();
    }
    if (page != Page::Macro) {
        m_macroPage.StopRecording();
    }
    Render();
    if (page != Page::Macro) {
        const int focus = page == Page::Key ? kKeyEditId : page == Page::Media ? kMediaListId : kFunctionListId;
        GetDlgItem(focus)->setFocus();
    }
}

void Tavrix_DlgComposite::OnCapture(uint16_t code)
{
    m_state.Capture(code);
    Render();
}

void Tavrix_DlgComposite::ChoosePage(Page page)
{
    if (m_state.ChoosePage(page)) {
        ShowPage(false);
    }
}

void Tavrix_DlgComposite::Clear()
{
    if (m_state.Clear()) {
        ShowPage(false);
    }
    Render();
}

void Tavrix_DlgComposite::SetMouseMode(bool mouse)
{
    m_state.SetMouseMode(mouse);
    Render();
}

PageChoices Tavrix_DlgComposite::Choices() const
{
    PageChoices choices;
    choices.mouse = List(kMouseListId)->currentIndex();
    choices.media = List(kMediaListId)->currentIndex();
    choices.function = List(kFunctionListId)->currentIndex();
    m_macroPage.FillChoices(choices);
    return choices;
}

void Tavrix_DlgComposite::Apply()
{
    m_macroPage.EndEdit();
    m_macroPage.StopRecording();
    model::ModelEditor& editor = EditorOf(m_window);
    // A list the store cannot take leaves the store and the keys' macro references as they were;
    // the key's own slot is written all the same.
    (void)m_macroPage.Commit(editor);
    if (const std::optional<SlotWrite> write = m_state.Commit(Choices())) {
        (void)editor.AssignKey(m_profile, m_slot, write->type, write->gKeyCode, write->value);
    }
    // The keys' looks and descriptions follow the model, this key's included.
    m_window.RefreshKeyMarks();
    m_state.MarkUnchanged();
    Render();
    m_window.SetApplyEnabled(true);
}

void Tavrix_DlgComposite::Close(int result)
{
    if (!IsOpen()) {
        return;
    }
    m_capture.Stop();
    m_macroPage.StopRecording();
    m_macroPage.Empty();
    m_state.MarkUnchanged();
    --m_openCount;
    UpdateCapture();
    // The key loses its look of being edited; every key shows what the model holds.
    m_window.RefreshKeyMarks();
    if (result == skin::IDOK) {
        skin::CBaseDialog::OnOK();
    } else {
        skin::CBaseDialog::OnCancel();
    }
}

void Tavrix_DlgComposite::CloseIfOpen()
{
    Close(skin::IDCANCEL);
}

void Tavrix_DlgComposite::OnOK()
{
    Apply();
    Close(skin::IDOK);
}

void Tavrix_DlgComposite::OnCancel()
{
    Close(skin::IDCANCEL);
}

void Tavrix_DlgComposite::OnLanguage(int languageIndex)
{
    // A closed dialog takes the language when it next opens.
    if (IsOpen()) {
        SetTexts(languageIndex);
    }
}

void Tavrix_DlgComposite::StartOnScreenKeyboard()
{
    for (const char* program : kOnScreenKeyboards) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) {
            // Started directly, never through a shell; a failure is not reported.
            (void)platform::ShellOpen({path.toStdString(), {}, platform::ShowMode::Normal});
            return;
        }
    }
}

bool Tavrix_DlgComposite::OnCommand(int id)
{
    switch (id) {
    case kKeyPageId:
        ChoosePage(Page::Key);
        return true;
    case kMacroPageId:
        ChoosePage(Page::Macro);
        return true;
    case kMediaPageId:
        ChoosePage(Page::Media);
        return true;
    case kFunctionPageId:
        ChoosePage(Page::Function);
        return true;
    case kClearId:
        Clear();
        return true;
    case kOnScreenKeyboardId:
        StartOnScreenKeyboard();
        return true;
    case kKeyboardModeId:
    case kMouseModeId:
        SetMouseMode(id == kMouseModeId);
        return true;
    case kCompositeApplyId:
        Apply();
        return true;
    case skin::IDOK:
        OnOK();
        return true;
    case skin::IDCANCEL:
        OnCancel();
        return true;
    default:
        return m_macroPage.OnCommand(id);
    }
}

controls::LParam Tavrix_DlgComposite::OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    if (message == UM_LANG && wParam == kLangTag) {
        SetTexts(static_cast<int>(lParam));
        return 1;
    }
    return 0;
}

void Tavrix_DlgComposite::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_F1) {
        // Ignored while recording, which records the key instead.
        if (!m_macroPage.IsRecording()) {
            m_window.OpenHelp();
        }
        event->accept();
        return;
    }
    // Neither ends the dialog: OK and Cancel come from their buttons only.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    skin::CBaseDialog::keyPressEvent(event);
}

void Tavrix_DlgComposite::showEvent(QShowEvent* event)
{
    skin::CBaseDialog::showEvent(event);
    if (QWindow* handle = windowHandle(); handle != nullptr && m_window.windowHandle() != nullptr) {
        handle->setTransientParent(m_window.windowHandle());
    }
}

void Tavrix_DlgComposite::paintEvent(QPaintEvent* event)
{
    skin::CBaseDialog::paintEvent(event);
    UpdateCapture();
}

// While the key page captures, the window holds the keyboard so that keys the desktop lets
// through (Super, Menu) reach it. A display shows the window, and so lets it take the keyboard,
// only after it was asked to show it: the first paint tries.
void Tavrix_DlgComposite::UpdateCapture()
{
    QWindow* handle = windowHandle();
    if (!m_capture.IsStarted() || !isVisible()) {
        if (m_keyboardGrabbed && handle != nullptr) {
            handle->setKeyboardGrabEnabled(false);
        }
        m_keyboardGrabbed = false;
        return;
    }
    if (m_grabPending && !m_keyboardGrabbed && handle != nullptr && handle->isExposed()) {
        m_grabPending = false;
        m_keyboardGrabbed = handle->setKeyboardGrabEnabled(true);
    }
}

} // namespace tavrix::ui
