#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The keys of the drawn keyboard: which button stands for which key, in the fixed order the
// keyboard is drawn and cleared in.
namespace tavrix::ui {

struct DrawnKey {
    int id;           // control id of the key's button
    uint16_t keyCode; // set-1 make code, plus 0x100 for 0xE0-prefixed keys
    int ledIndex;     // position in the keyboard's lamp matrix
};

inline constexpr std::size_t kDrawnKeyCount = 104;
inline constexpr std::size_t kGKeyCount = 9;

// G1 to G9, in G-key number order.
inline constexpr std::array<int, kGKeyCount> kGKeyIds{1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};

inline constexpr int kFnId = 1174;
// D1 to D6 stand in for F1 to F4 while the rows are swapped.
inline constexpr int kFirstDKeyId = 1016;
inline constexpr int kDKeyCount = 6;

// The key buttons in drawing order.
const std::array<DrawnKey, kDrawnKeyCount>& DrawnKeys();

// The position of a G-key button in kGKeyIds; -1 for any other control.
int GKeyPosition(int controlId);

// The key a key button stands for; nullptr for any other control.
const DrawnKey* FindDrawnKey(int controlId);

// Whether the control is one of D1 to D6.
bool IsDKey(int controlId);

// The lamp a button of the keyboard stands for in the lighting patterns: a key's own, 45 for Fn,
// 0 for the G-keys and D1 to D6, which have no lamp of their own; nothing for other controls.
std::optional<int> LampOf(int controlId);

} // namespace tavrix::ui
