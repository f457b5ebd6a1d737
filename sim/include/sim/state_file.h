#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "sim/keyboard_memory.h"

// The simulated keyboard's flash kept in a file, laid out plainly (little-endian) so people and
// tools can inspect or prepare it:
//
//   offset 0      8 bytes    magic "TVXSIM01"
//   offset 8      48         information block
//   offset 56     324        default key table
//   offset 380    3 x 324    key tables of profiles 0, 1, 2
//   offset 1352   126        lighting area (three 42-byte blocks)
//   offset 1478   540        per-key lamp area (three 180-byte areas)
//   offset 2018   capacity   extra area, capacity = information-block byte 11 x 128
namespace tavrix::sim {

inline constexpr std::size_t kStateHeaderSize = 2018;

std::vector<uint8_t> EncodeStateImage(const KeyboardMemory& memory);
// Nothing when the magic or the size is wrong or the current profile is out of range.
std::optional<KeyboardMemory> DecodeStateImage(std::span<const uint8_t> image);

struct LoadedState {
    enum class Source {
        File,      // read from the file
        Missing,   // no file: factory-fresh
        SetAside,  // damaged or longer than a state file can be: renamed to <path>.damaged,
                   // factory-fresh
        Unreadable // not a regular file, or could not be read or set aside: factory-fresh, the
                   // file left as it is
    };
    KeyboardMemory memory;
    Source source = Source::Missing;
};

LoadedState LoadStateFile(const std::filesystem::path& path);
// Writes a temporary file beside path and renames it over path, creating the folder first.
// Returns false when the file could not be written; the previous file is then left intact.
[[nodiscard]] bool SaveStateFile(const std::filesystem::path& path, const KeyboardMemory& memory);

} // namespace tavrix::sim
