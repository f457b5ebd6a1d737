#include "controls/prompts.h"
#include "device/commands.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

// Switching the keyboard's current profile, and the profile button's caption that names it.
namespace tavrix::ui {

int CTavrixDlg::SwitchProfile(int n)
{
    if (n >= device::kProfileCount) {
        n = 0;
    }
    if (m_parts.composite != nullptr && m_parts.composite->IsOpen()) {
        controls::ActivePrompts().MessageBox(this, {LangText("PROFILE_SEELCT_PROMPT2"), QString()});
        return 0;
    }
    // No profile to switch to: asking about unapplied changes could only lose them.
    if (n < 0) {
        return 1;
    }
    ProfileManagerPart* manager = m_parts.profileManager;
    const bool managerChanges = manager != nullptr && manager->HasUnappliedChanges();
    if ((IsApplyEnabled() || managerChanges) && !m_askingToSwitch) {
        m_askingToSwitch = true;
        const controls::MessageBoxRequest request{LangText("PROFILE_SELECT_PROMPT"), QString(),
                                                  controls::PromptButtons::YesNo, controls::PromptResult::Yes};
        const bool apply = controls::ActivePrompts().MessageBox(this, request) == controls::PromptResult::Yes;
        m_askingToSwitch = false;
        if (apply) {
            ApplyChanges();
        } else {
            SetApplyEnabled(false);
            if (CurrentProfile() >= 0) {
                // A failed load keeps the model as it is rather than leave it empty.
                (void)m_sync->Editor().ReloadFromCache();
            }
        }
    }
    RunKeyboardWork([this, n] {
        m_commands->SetCurrentProfile(n);
        // A switch the keyboard did not take leaves its profile to be asked again.
        (void)m_commands->GetCurrentProfile();
    });
    // Whatever the answer was, the manager shows the profile the keyboard uses from now on.
    if (manager != nullptr && manager->IsOpen()) {
        manager->OnProfileSwitched(CurrentProfile());
    }
    RefreshKeyMarks();
    UpdateProfileCaption();
    return 1;
}

void CTavrixDlg::UpdateProfileCaption()
{
    controls::CPngButton* button = Button(kProfilesButtonId);
    if (button == nullptr) {
        return;
    }
    // The cache file is named the same whatever profile is current: the profile's number tells
    // them apart.
    const int profile = CurrentProfile();
    const QString caption = profile >= 0 ? ProfileLabel(profile) : LangText("DEFAULT_PROFILE_NAME");
    button->setText(caption);
    button->SetTooltipText(LangText("PROFILE_TIP") + caption, true);
}

} // namespace tavrix::ui
