#pragma once

#include <cstddef>
#include <cstdint>

// The keyboard's own view of its command channel and memory. Kept apart from the program's
// protocol header on purpose: the simulated keyboard decodes requests by itself, so a mistake
// shared by both sides cannot cancel out.
namespace tavrix::sim {

// Request and reply frame.
inline constexpr std::size_t kFrameSize = 64;
inline constexpr uint8_t kFrameReportId = 4;
inline constexpr std::size_t kFrameSumAt = 1; // 16-bit little-endian sum of bytes 3..63
inline constexpr std::size_t kFrameCommandAt = 3;
inline constexpr std::size_t kFrameLengthAt = 4;
inline constexpr std::size_t kFrameAddressAt = 5; // 16-bit little-endian
inline constexpr std::size_t kFrameStatusAt = 7;
inline constexpr std::size_t kFrameDataAt = 8;
inline constexpr std::size_t kFrameDataSize = kFrameSize - kFrameDataAt;

inline constexpr uint8_t kStatusAccepted = 0x00;
inline constexpr uint8_t kStatusRefused = 0xFF;

// Command codes the keyboard understands.
enum class Command : uint8_t {
    BeginConfig = 0x01,
    EndConfig = 0x02,
    ReadInfo = 0x03,
    WriteInfo = 0x04,
    ReadLighting = 0x05,
    WriteLighting = 0x06,
    ReadKeys = 0x07,
    WriteKeys = 0x08,
    ReadExtra = 0x09,
    WriteExtra = 0x0A,
    Test = 0x0D,
    ReadDefaultKeys = 0x0F,
    ReadLampArea = 0x10,
    WriteLampArea = 0x11,
    EnterBoot = 0xEE,
};
// EnterBoot is only taken when byte 4 repeats the code, so a stray byte cannot reset the keyboard.
inline constexpr uint8_t kBootConfirm = 0xEE;

// Memory sizes.
inline constexpr int kProfileCount = 3;
inline constexpr std::size_t kInfoSize = 48;
inline constexpr std::size_t kKeyPositions = 108;
inline constexpr std::size_t kKeyEntrySize = 3;
inline constexpr std::size_t kKeyTableSize = kKeyPositions * kKeyEntrySize; // 324
inline constexpr std::size_t kKeyTableStride = 512;                         // address of profile p: p * 512
inline constexpr std::size_t kLightingBlockSize = 42;
inline constexpr std::size_t kLightingSize = kLightingBlockSize * kProfileCount; // 126
// A profile's lamp area: ten user patterns of 18 bytes, each telling which lamps it lights.
inline constexpr std::size_t kLampPatterns = 10;
inline constexpr std::size_t kLampPatternSize = 18;
inline constexpr std::size_t kLampAreaSize = kLampPatterns * kLampPatternSize; // 180
inline constexpr std::size_t kLampMemorySize = kLampAreaSize * kProfileCount;  // 540
inline constexpr std::size_t kExtraUnit = 128;

// Information block.
inline constexpr std::size_t kInfoProfileAt = 10;
inline constexpr std::size_t kInfoExtraUnitsAt = 11;
inline constexpr std::size_t kInfoEffectsAt = 16; // effect list, 32 slots to the end of the block
// Bytes the host may change: 0-9, the current profile and 12-15. The capacity and the effect
// list describe the keyboard itself.
inline constexpr std::size_t kInfoHostBytesEnd = 10;
inline constexpr std::size_t kInfoHostTailAt = 12;
inline constexpr std::size_t kInfoHostTailEnd = 16;

} // namespace tavrix::sim
