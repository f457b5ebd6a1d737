#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/program_paths.h"
#include "platform/shell_open.h"
#include "scripted_prompts.h"
#include "sim/sim_backend.h"
#include "test_folders.h"
#include "ui/editors/tavrix_dlg_composite.h"
#include "ui/main_window/tavrix_dlg.h"
#include "ui/main_window/window_parts.h"
#include "ui_testing.h"

namespace tavrix::testing {

// Records what the main window asks of its parts.
class RecordingParts : public ui::KeyboardPart, public ui::ProfileManagerPart, public ui::LightingPart {
public:
    void PlaceKeyboard() override {}
    bool OnCommand(int) override { return false; }
    void RefreshKeyMarks() override { Count(keyMarks); }
    void RefreshGKeyMarks() override { Count(gKeyMarks); }
    void SelectProfileButton(int profile) override { selectedProfile = profile; }
    void ShowKeysCleared() override { Count(keysCleared); }
    void SelectReportRate(int code) override { reportRate = code; }
    void CloseIfOpen() override { Count(closed); }
    void OnLanguage(int languageIndex) override { language = languageIndex; }
    void OpenFor(int controlId) override { openedFor = controlId; }
    bool IsOpen() const override { return editorOpen; }
    bool HasUnappliedChanges() const override { return false; }
    void OnProfileSwitched(int) override {}
    void PlaceLightingPanel() override {}
    void OnSlider(int, int) override {}
    // The panel shows the lighting once it is read.
    void ReadLightingState(model::LightingRead what) override
    {
        Count(what == model::LightingRead::Full ? lightingReads : lightingSettingsReads);
        RefreshLightingPanel();
    }
    void RefreshLightingPanel() override { Count(lightingRefreshes); }
    void SetLightingTexts(int languageIndex) override { lightingLanguage = languageIndex; }
    bool IsLightingEditOn() const override { return lightingEdit; }
    void ToggleLampAtKey(int controlId) override { lampToggledAt = controlId; }
    void ResetLightingDefaults() override { Count(lightingResets); }
    void EndLightingEdit() override { lightingEdit = false; }

    std::atomic<int> keyMarks{0};
    std::atomic<int> gKeyMarks{0};
    std::atomic<int> keysCleared{0};
    std::atomic<int> closed{0};
    std::atomic<int> selectedProfile{-1};
    std::atomic<int> language{-1};
    std::atomic<int> openedFor{0};
    std::atomic<int> reportRate{-1};
    std::atomic<int> lightingReads{0};
    std::atomic<int> lightingSettingsReads{0};
    std::atomic<int> lampToggledAt{0};
    std::atomic<int> lightingRefreshes{0};
    std::atomic<int> lightingLanguage{-1};
    std::atomic<int> lightingResets{0};
    std::atomic<bool> lightingEdit{false};
    std::atomic<bool> editorOpen{false};

private:
    static void Count(std::atomic<int>& counter) { ++counter; }
};

// The main window on the simulated keyboard, with the built skin, private folders, scripted
// prompts and the shell recorded. Timing runs ten times faster.
class MainWindowTest : public UiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and initialises the window; the keyboard is plugged in unless told otherwise.
    void Start(bool keyboardPresent = true, bool startHidden = false);
    // Handles events until done() holds; false when it did not within a generous bound.
    static bool WaitUntil(const std::function<bool()>& done);
    // Waits until the window finished initialising and handled the keyboard found at start.
    bool WaitUntilSettled(int iconId);
    // Waits until what the window asked of the keyboard is done, and the window showed it.
    void Settle();

    ui::CTavrixDlg& Dlg() { return *m_dlg; }
    static dexlink::SimBackend& Sim();
    static QString Text(const char* key);
    // Every message box text shown so far.
    std::vector<QString> MessageTexts() const;
    // The model's image as bytes, for comparing.
    std::vector<uint8_t> ModelBytes();
    // Edits the model's slot as an editor would, and enables Apply.
    void Edit(int profile, std::size_t slot, const model::KeyAssignment& assignment);
    model::KeyAssignment SlotOf(int profile, std::size_t slot);

    TempFolder m_home;
    ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_home / "run"};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_home / "config"};
    ScopedEnv m_data{"XDG_DATA_HOME", m_home / "data"};
    ScopedEnv m_backend{"DEXLINK_BACKEND", std::string("sim")};
    ScopedEnv m_state{"DEXLINK_SIM_STATE", m_home / "sim.bin"};
    ScriptedPrompts m_prompts;
    RecordingParts m_parts;
    std::vector<platform::ShellRequest> m_opened;
    // The window draws its own keyboard, or runs its own lighting panel, instead of recording
    // what is asked of them.
    bool m_ownKeyboard = false;
    bool m_ownLighting = false;
    // The window gets the real key-assignment dialog instead of recording what it asks of it.
    bool m_ownComposite = false;
    int m_runEnds = 0;
    int m_releases = 0;
    std::unique_ptr<ui::CTavrixDlg> m_dlg;
    std::unique_ptr<ui::Tavrix_DlgComposite> m_composite;
};

} // namespace tavrix::testing
