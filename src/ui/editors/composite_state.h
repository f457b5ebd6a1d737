#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "model/key_assignment.h"

// The key-assignment dialog's rules that need no window: which page a type shows on, what the key
// page's capture, modes and Clear do, and what Apply writes into the key's slot. Free of Qt.
namespace tavrix::ui {

// The four pages of the dialog.
enum class Page { Key, Macro, Media, Function };

// The page that shows a type: macro, media and function have pages of their own; every other
// type, the default and key included, shows on the key page.
[[nodiscard]] Page PageOfType(uint32_t type);

// Which macro the macro page selects when it is shown.
enum class MacroSelection {
    StoredNumber, // the macro whose number the key stores, else the first
    First,
    Keep, // the list stays as it is
};

// What the lists and the macro page hold when Apply writes.
struct PageChoices {
    int mouse = -1;    // entry of MouseActionList; -1 for none
    int media = -1;    // entry of MediaList; -1 for none
    int function = -1; // entry of FunctionList; -1 for none
    bool macroListEmpty = true;
    uint16_t macroNumber = 0; // the current macro's number; 0 when none is current
    uint16_t repeatCount = 1;
};

// What Apply writes into the key's slot.
struct SlotWrite {
    uint16_t type = model::kTypeDefault;
    uint16_t gKeyCode = 0;
    uint32_t value = 0;

    bool operator==(const SlotWrite&) const = default;
};

// The G-key code field of a slot: the G-key's code for slots 256..273, 0 for every other slot.
[[nodiscard]] uint16_t GKeyCodeOfSlot(size_t slot);

// The entry of MouseActionList that sends code; nothing for any other code.
[[nodiscard]] std::optional<int> MouseEntryOf(uint32_t code);

// One opening of the dialog: the page and type, the key page's capture and mode, and the changed
// flag (the enabled state of the dialog's Apply). The dialog feeds it the user's actions and
// shows what it holds.
class CompositeState {
public:
    // An opening for slot (its number in the profile block) with what the slot holds; in
    // macro-only mode the macro page is the only one.
    void Open(size_t slot, bool macroOnly, const model::KeyAssignment& stored);

    [[nodiscard]] Page ShownPage() const { return PageOfType(m_type); }
    [[nodiscard]] uint16_t Type() const { return m_type; }
    [[nodiscard]] bool IsChanged() const { return m_changed; }
    [[nodiscard]] bool IsMacroOnly() const { return m_macroOnly; }
    [[nodiscard]] uint32_t StoredValue() const { return m_stored.value; }
    [[nodiscard]] uint32_t CapturedCode() const { return m_captured; }
    [[nodiscard]] bool IsMouseMode() const { return m_mouseMode; }
    // The key the key edit names; 0 while it is empty.
    [[nodiscard]] uint32_t ShownKey() const { return m_shownKey; }

    // A page button: false when it does nothing (the page is shown already; the key page while
    // the type is the default or a key; any page but the macro page in macro-only mode).
    bool ChoosePage(Page page);
    // Which macro to select now that the macro page is shown, at opening (from the model) or by
    // the user.
    [[nodiscard]] MacroSelection MacroSelectionOnShow(bool fromModel);
    // The key page took a key.
    void Capture(uint16_t code);
    // The keyboard and mouse mode boxes.
    void SetMouseMode(bool mouse);
    // The clear button: back to the key page, which then holds the default. True when the key
    // page was shown anew.
    bool Clear();
    void MarkChanged() { m_changed = true; }
    void MarkUnchanged() { m_changed = false; }

    // What Apply writes into the key's slot; nothing while the slot keeps a type this dialog has
    // no page for (a text, a disabled key), which it then keeps as it is.
    [[nodiscard]] std::optional<SlotWrite> Commit(const PageChoices& choices) const;

private:
    void ShowKeyPage();

    size_t m_slot = 0;
    bool m_macroOnly = false;
    model::KeyAssignment m_stored;
    uint16_t m_type = model::kTypeDefault;
    uint32_t m_captured = 0;
    uint32_t m_shownKey = 0;
    bool m_mouseMode = false;
    bool m_changed = false;
    bool m_firstMacroVisit = true;
};

} // namespace tavrix::ui
