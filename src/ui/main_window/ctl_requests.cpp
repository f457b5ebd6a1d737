#include <algorithm>
#include <mutex>

#include "ctl/keyboard_operations.h"
#include "platform/utf.h"
#include "ui/main_window/tavrix_dlg.h"

// Requests of tavrix-ctl, carried out by the running instance through its own model and command
// set, so the window shows what changed and the keyboard is written once. The keyboard is
// waited for on the window's keyboard thread while the window keeps painting, as an apply does;
// its messages go back to tavrix-ctl instead of into message boxes.
namespace tavrix::ui {

namespace {

bool ChangesKeyboard(ctl::CtlCommand command)
{
    return command == ctl::CtlCommand::SwitchProfile || command == ctl::CtlCommand::WriteConfiguration ||
           command == ctl::CtlCommand::ChangeLighting;
}

app::CtlReply Refused(const char* why)
{
    return {app::CtlStatus::Failed, why, {}};
}

} // namespace

app::CtlReply CTavrixDlg::OnCtlRequest(std::span<const uint8_t> body)
{
    const std::optional<ctl::CtlRequest> request = ctl::DecodeCtlBody(body);
    if (!request) {
        return Refused("Tavrix did not understand the request");
    }
    if (m_sync == nullptr || m_closing) {
        return Refused("Tavrix is ending");
    }
    if (m_applying || m_ctlRequestRunning) {
        return Refused("Tavrix is writing to the keyboard; try again in a moment");
    }
    const auto isOpen = [](const EditorPart* editor) { return editor != nullptr && editor->IsOpen(); };
    // The firmware update may have the keyboard in boot mode, where it answers nothing else.
    if (isOpen(m_parts.update)) {
        return Refused("Tavrix is updating the keyboard's firmware; try again when the update dialog is closed");
    }
    if (ChangesKeyboard(request->command) &&
        (IsApplyEnabled() || isOpen(m_parts.composite) || isOpen(m_parts.profileManager))) {
        // Neither lost nor written unasked: the user's own changes come first.
        return Refused("Tavrix's window has changes not applied or an editor open; apply or close them first");
    }
    m_ctlRequestRunning = true;
    {
        std::lock_guard lock(m_ctlMessagesMutex);
        m_ctlMessages.emplace();
    }
    app::CtlReply reply = CarryOutCtlRequest(*request);
    std::lock_guard lock(m_ctlMessagesMutex);
    for (const std::string& message : *m_ctlMessages) {
        reply.text += (reply.text.empty() ? "" : "\n") + message;
    }
    m_ctlMessages.reset();
    m_ctlRequestRunning = false;
    return reply;
}

app::CtlReply CTavrixDlg::CarryOutCtlRequest(const ctl::CtlRequest& request)
{
    ctl::KeyboardOperations operations(*m_commands, *m_sync);
    if (request.command == ctl::CtlCommand::SwitchProfile) {
        // As the profile buttons do, asking nothing: unapplied changes refused the request.
        ctl::CtlOutcome outcome;
        RunKeyboardWork([&] { outcome = operations.SwitchProfile(request.profile); });
        ShowSwitchedProfile();
        return {outcome.status, outcome.message, {}};
    }
    if (request.command == ctl::CtlCommand::WriteConfiguration) {
        ctl::WriteResult result;
        ctl::CtlOutcome outcome;
        RunKeyboardWork([&] { outcome = operations.WriteConfiguration(request.configuration, result); });
        if (result.loaded) {
            RefreshKeyMarks();
            // As after the window's import: nothing left to apply once the keyboard and the cache
            // file hold the model.
            SetApplyEnabled(!outcome.Done() || !result.cacheSaved);
            const auto& lighting = request.configuration.lighting;
            if (m_parts.lighting != nullptr &&
                std::any_of(lighting.begin(), lighting.end(), [](const auto& block) { return block.has_value(); })) {
                m_parts.lighting->ReadLightingState(model::LightingRead::Full);
            }
        }
        return {outcome.status, outcome.message, {}};
    }
    app::CtlReply reply;
    RunKeyboardWork([&] { reply = operations.Serve(request); });
    if (request.command == ctl::CtlCommand::ChangeLighting && m_parts.lighting != nullptr) {
        m_parts.lighting->ReadLightingState(model::LightingRead::SettingsOnly);
    }
    return reply;
}

void CTavrixDlg::ShowSwitchedProfile()
{
    const int profile = CurrentProfile();
    RefreshKeyMarks();
    UpdateProfileCaption();
    if (m_parts.keyboard != nullptr) {
        m_parts.keyboard->SelectProfileButton(profile);
    }
    if (m_parts.lighting != nullptr) {
        m_parts.lighting->ReadLightingState(model::LightingRead::Full);
        if (m_parts.lighting->IsLightingEditOn()) {
            m_parts.lighting->EndLightingEdit();
        }
    }
}

bool CTavrixDlg::CaptureCtlMessage(const std::u16string& text)
{
    std::lock_guard lock(m_ctlMessagesMutex);
    if (!m_ctlMessages) {
        return false;
    }
    std::string line = platform::Utf16ToUtf8(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    m_ctlMessages->push_back(std::move(line));
    return true;
}

} // namespace tavrix::ui
