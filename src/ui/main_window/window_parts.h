#pragma once

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
};

class LightingPart {
public:
    virtual ~LightingPart() = default;
    virtual void ReadLightingState() = 0;
    virtual void RefreshLightingPanel() = 0;
    virtual void SetLightingTexts(int languageIndex) = 0;
    [[nodiscard]] virtual bool IsLightingEditOn() const = 0;
    virtual void ResetLightingDefaults() = 0;
    // The profile (0..2) whose lighting the panel shows and edits.
    virtual void SetProfileIndex(int profile) = 0;
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

struct WindowParts {
    KeyboardPart* keyboard = nullptr;
    LightingPart* lighting = nullptr;
    EditorPart* profileManager = nullptr;
    EditorPart* composite = nullptr;
    EditorPart* update = nullptr;
};

} // namespace tavrix::ui
