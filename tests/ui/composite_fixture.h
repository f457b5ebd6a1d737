#pragma once

#include <functional>

#include "main_window_fixture.h"
#include "model/key_table_codec.h"
#include "ui/editors/tavrix_dlg_composite.h"

namespace tavrix::testing {

// The main window with its own drawn keyboard and the real key-assignment dialog, on the
// simulated keyboard.
class CompositeTest : public MainWindowTest {
protected:
    void SetUp() override;

    // Starts the window and waits until it shows the keyboard.
    void StartShown();
    ui::Tavrix_DlgComposite& Composite() { return *m_composite; }
    int Profile() { return Dlg().Commands().GetCurrentProfile(); }
    // Runs steps inside the modal run that open starts (a click, say), then closes the dialog as
    // cancelled if the steps left it open.
    void WhileOpen(const std::function<void()>& open, const std::function<void(ui::Tavrix_DlgComposite&)>& steps);
    // Replaces the model's macros with macros numbered by numbers, each repeating once.
    void SetMacros(std::initializer_list<uint16_t> numbers);
    // The model's macros.
    std::vector<model::MacroRecord> StoredMacros();
    // The rows the dialog's action list shows.
    static std::vector<model::MacroAction> ActionRows(const ui::Tavrix_DlgComposite& dialog);
    // What the simulated keyboard's key table of the profile sends at the key's position.
    static model::KeyEntry KeyboardEntryOf(int profile, uint16_t keyCode);
};

} // namespace tavrix::testing
