#pragma once

#include "skin/base_dialog.h"

// What the main window's editor dialogs share: set up afresh at every opening, run modally, one
// run at a time, and closed from outside as if cancelled.
namespace tavrix::ui {

class CEditorDialog : public skin::CBaseDialog {
public:
    using skin::CBaseDialog::CBaseDialog;

    // Runs the dialog modally and returns the result it closed with; while it runs already, it
    // comes to the front and -1 is returned.
    int Open();
    [[nodiscard]] bool IsRunning() const { return m_running; }

protected:
    // Sets the window up; the first time also makes its controls.
    bool OnInitDialog() override;
    virtual void MakeControls() = 0;
    // Ends the run with result; nothing while it does not run.
    void Close(int result);

private:
    bool m_controlsMade = false;
    bool m_running = false;
};

} // namespace tavrix::ui
