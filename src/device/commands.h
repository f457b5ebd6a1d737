#pragma once

#include <cstddef>
#include <cstdint>

// Command codes of the keyboard and the sizes of the tables they address.
namespace tavrix::device {

inline constexpr uint8_t kCmdBeginConfig = 0x01;
inline constexpr uint8_t kCmdEndConfig = 0x02;
inline constexpr uint8_t kCmdReadInfoBlock = 0x03;
inline constexpr uint8_t kCmdWriteInfoBlock = 0x04;
inline constexpr uint8_t kCmdReadLightingBytes = 0x05;
inline constexpr uint8_t kCmdWriteLightingBytes = 0x06;
inline constexpr uint8_t kCmdReadKeyTable = 0x07;
inline constexpr uint8_t kCmdWriteKeyTable = 0x08;
inline constexpr uint8_t kCmdReadExtraArea = 0x09;
inline constexpr uint8_t kCmdWriteExtraArea = 0x0A;
inline constexpr uint8_t kCmdTestCommand = 0x0D;
inline constexpr uint8_t kCmdReadDefaultTable = 0x0F;
inline constexpr uint8_t kCmdReadLampArea = 0x10;
inline constexpr uint8_t kCmdWriteLampArea = 0x11;
inline constexpr uint8_t kCmdEnterBootMode = 0xEE;
// The boot-mode report repeats its code in the length byte.
inline constexpr uint8_t kBootModeConfirm = 0xEE;

// The keyboard settles its configuration before it is told that the configuration ends.
inline constexpr uint32_t kEndConfigDelayMs = 10;

inline constexpr int kProfileCount = 3;

// Information block.
inline constexpr std::size_t kInfoBlockSize = 48;
inline constexpr std::size_t kInfoCurrentProfileOffset = 10;
inline constexpr std::size_t kInfoExtraUnitsOffset = 11;
inline constexpr std::size_t kExtraAreaUnit = 128;
inline constexpr std::size_t kInfoEffectListOffset = 16;
inline constexpr std::size_t kInfoEffectListSize = 32;

// Key tables: 108 positions of 3 bytes; profile p starts at address p * 512.
inline constexpr std::size_t kKeyPositions = 108;
inline constexpr std::size_t kKeyEntrySize = 3;
inline constexpr std::size_t kKeyTableSize = kKeyPositions * kKeyEntrySize;
inline constexpr uint32_t kKeyTableStride = 512;

// Lighting area: one 42-byte block per profile. Lamp area: 180 bytes per profile.
inline constexpr std::size_t kLightingBlockSize = 42;
inline constexpr std::size_t kLampAreaSize = 180;

// Addresses are 16 bits wide.
inline constexpr uint32_t kAddressLimit = 0x10000;

} // namespace tavrix::device
