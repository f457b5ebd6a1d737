#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrix::model {

inline constexpr size_t kMaxMacros = 100;
inline constexpr size_t kMaxMacroActions = 2000;
inline constexpr size_t kMaxMacroNameLength = 249; // characters, the terminator not counted
// Longest delay the keyboard can represent: 12 bits of 10 ms steps.
inline constexpr uint32_t kMaxMacroDelayMs = 4095 * 10;

inline constexpr uint16_t kMacroPress = 0;
inline constexpr uint16_t kMacroRelease = 1;

// One step of a macro: the key goes down or up, then the keyboard waits `delay` ms.
struct MacroAction {
    static constexpr size_t kSize = 8;

    uint32_t delay = 0;
    uint16_t keyCode = 0;
    uint16_t direction = kMacroPress;

    void Encode(std::span<uint8_t, kSize> out) const;
    static MacroAction Decode(std::span<const uint8_t, kSize> in);

    bool operator==(const MacroAction&) const = default;
};

// A macro as the model and the profile files keep it: a fixed 16512-byte record, little-endian.
// Every field is kept as read, reserved bytes and unused action slots included, so a record read
// from a file is written back unchanged.
struct MacroRecord {
    static constexpr size_t kSize = 16512;
    static constexpr size_t kNameUnits = 250; // 500 bytes of UTF-16 with the terminator

    std::array<char16_t, kNameUnits> name{};
    uint8_t repeatCount = 1;
    uint8_t reserved1 = 0;
    // 1 while the macro lives only in an open editor; 0 in the store.
    uint16_t newFlag = 0;
    // Carried along; nothing interprets it.
    uint16_t playMode = 0;
    // The macro id (1..100) by which key slots of type 4 refer to the macro.
    uint16_t number = 0;
    uint16_t actionCount = 0;
    uint16_t reserved2 = 0;
    std::array<MacroAction, kMaxMacroActions> actions{};

    // The name up to its terminator, at most 249 characters even when the field lacks one.
    std::u16string Name() const;
    // Stores the name cut to 249 characters, the rest of the field zero.
    void SetName(std::u16string_view text);

    // The actions in use: the first actionCount, never more than the 2000 slots.
    std::span<const MacroAction> UsedActions() const;

    void Encode(std::span<uint8_t, kSize> out) const;
    static MacroRecord Decode(std::span<const uint8_t, kSize> in);

    bool operator==(const MacroRecord&) const = default;
};

} // namespace tavrix::model
