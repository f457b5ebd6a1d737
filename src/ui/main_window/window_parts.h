#pragma once

#include "model/lighting_controller.h"

// The parts of the main window that live in their own classes: the drawn keyboard, the lighting
// panel and the editor dialogs. The window calls them through these seams; a part that is not
// attached is skipped.
namespace tavrix::ui {

class KeyboardPart {
public:
    virtual ~KeyboardPart() = default;
    // Creates and places the keyboard's buttons while the window sets itself up.
    virtual void PlaceKeyboard() = 0;
    // A click on one of the keyboard's buttons; false for controls that are not the keyboard's.
    virtual bool OnCommand(int id) = 0;
    // Marks the keys and G-keys of the current profile from the model (model lock held).
    virtual void RefreshKeyMarks() = 0;
    // Marks the G-keys of the active bank.
    virtual void RefreshGKeyMarks() = 0;
    // Shows which profile (0..2) is current.
    virtual void SelectProfileButton(int profile) = 0;
    // The model slots of the current profile were cleared: draw every key unmarked.
    virtual void ShowKeysCleared() = 0;
    // Shows report-rate code 0..3 as chosen (as read from the keyboard's lighting state).
    virtual void SelectReportRate(int code) = 0;
};

class LightingPart {
public:
    virtual ~LightingPart() = default;
    // Loads the pictures, creates and places the controls while the window sets itself up.
    virtual void PlaceLightingPanel() = 0;
    // A click on one of the panel's controls; false for controls that are not the panel's.
    virtual bool OnCommand(int id) = 0;
    // A slider of the panel moved (UM_SLIDER).
    virtual void OnSlider(int id, int position) = 0;
    // Reads the lighting from the keyboard in the background and shows it once read.
    virtual void ReadLightingState(model::LightingRead what) = 0;
    virtual void RefreshLightingPanel() = 0;
    virtual void SetLightingTexts(int languageIndex) = 0;
    [[nodiscard]] virtual bool IsLightingEditOn() const = 0;
    // A click on a key (not a G-key) while the lighting edit is on.
    virtual void ToggleLampAtKey(int controlId) = 0;
    virtual void ResetLightingDefaults() = 0;
    virtual void EndLightingEdit() = 0;
};

// An editor dialog the main window owns.
class EditorPart {
public:
    virtual ~EditorPart() = default;
    // Closes the editor as if cancelled when it is open.
    virtual void CloseIfOpen() = 0;
    [[nodiscard]] virtual bool IsOpen() const = 0;
    virtual void OnLanguage(int languageIndex) = 0;
    // Runs the editor for a control of the main window (the macro button passes G9).
    virtual void OpenFor(int controlId) = 0;
};

// The profile manager, which a profile switch must keep in step.
class ProfileManagerPart : public EditorPart {
public:
    // Whether the manager is open with list changes it has not applied (its Apply is enabled).
    [[nodiscard]] virtual bool HasUnappliedChanges() const = 0;
    // The keyboard now uses profile (0..2): an open manager marks and selects its row and turns
    // its Apply off.
    virtual void OnProfileSwitched(int profile) = 0;
};

struct WindowParts {
    KeyboardPart* keyboard = nullptr;
    LightingPart* lighting = nullptr;
    ProfileManagerPart* profileManager = nullptr;
    EditorPart* composite = nullptr;
    EditorPart* update = nullptr;
};

} // namespace tavrix::ui
