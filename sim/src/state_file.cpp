#include "sim/state_file.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <system_error>

#include "platform/file_util.h"
#include "sim/factory_defaults.h"

namespace tavrix::sim {

namespace {

constexpr std::array<uint8_t, 8> kMagic{'T', 'V', 'X', 'S', 'I', 'M', '0', '1'};
constexpr std::size_t kInfoAt = kMagic.size();
constexpr std::size_t kDefaultKeysAt = kInfoAt + kInfoSize;
constexpr std::size_t kKeyTablesAt = kDefaultKeysAt + kKeyTableSize;
constexpr std::size_t kLightingAt = kKeyTablesAt + kProfileCount * kKeyTableSize;
constexpr std::size_t kLampsAt = kLightingAt + kLightingSize;
constexpr std::size_t kExtraAt = kLampsAt + kLampMemorySize;
static_assert(kDefaultKeysAt == 56 && kKeyTablesAt == 380 && kLightingAt == 1352 && kLampsAt == 1478);
static_assert(kExtraAt == kStateHeaderSize);
// The information block gives the extra area's size in one byte of 128-byte units: no state file
// is longer than this.
constexpr std::size_t kMaxStateFileSize = kStateHeaderSize + std::numeric_limits<uint8_t>::max() * kExtraUnit;

constexpr const char* kSetAsideSuffix = ".damaged";

template <typename Range> void Append(std::vector<uint8_t>& image, const Range& bytes)
{
    image.insert(image.end(), std::begin(bytes), std::end(bytes));
}

template <std::size_t N> void Take(std::span<const uint8_t> image, std::size_t at, std::array<uint8_t, N>& out)
{
    std::copy_n(image.begin() + at, N, out.begin());
}

} // namespace

std::vector<uint8_t> EncodeStateImage(const KeyboardMemory& memory)
{
    std::vector<uint8_t> image;
    image.reserve(kStateHeaderSize + memory.extra.size());
    Append(image, kMagic);
    Append(image, memory.info);
    Append(image, memory.defaultKeys);
    for (const KeyboardMemory::KeyTable& table : memory.keyTables) {
        Append(image, table);
    }
    Append(image, memory.lighting);
    Append(image, memory.lamps);
    Append(image, memory.extra);
    return image;
}

std::optional<KeyboardMemory> DecodeStateImage(std::span<const uint8_t> image)
{
    if (image.size() < kStateHeaderSize || !std::equal(kMagic.begin(), kMagic.end(), image.begin())) {
        return std::nullopt;
    }
    KeyboardMemory memory;
    Take(image, kInfoAt, memory.info);
    if (image.size() != kStateHeaderSize + ExtraCapacityOf(memory.info) ||
        memory.info[kInfoProfileAt] >= kProfileCount) {
        return std::nullopt;
    }
    Take(image, kDefaultKeysAt, memory.defaultKeys);
    for (std::size_t profile = 0; profile < memory.keyTables.size(); ++profile) {
        Take(image, kKeyTablesAt + profile * kKeyTableSize, memory.keyTables[profile]);
    }
    Take(image, kLightingAt, memory.lighting);
    Take(image, kLampsAt, memory.lamps);
    memory.extra.assign(image.begin() + kExtraAt, image.end());
    return memory;
}

LoadedState LoadStateFile(const std::filesystem::path& path)
{
    std::vector<uint8_t> bytes;
    switch (platform::ReadWholeFile(path, kMaxStateFileSize, bytes)) {
    case platform::ReadResult::Ok:
    case platform::ReadResult::TooLarge:
        break;
    case platform::ReadResult::Missing:
        return {FactoryMemory(), LoadedState::Source::Missing};
    case platform::ReadResult::CannotOpen:
    case platform::ReadResult::NoMemory:
        return {FactoryMemory(), LoadedState::Source::Unreadable};
    }
    if (std::optional<KeyboardMemory> memory = DecodeStateImage(bytes)) {
        return {std::move(*memory), LoadedState::Source::File};
    }
    // Damaged, or longer than any state file: kept for inspection; the next save starts afresh.
    std::error_code error;
    std::filesystem::path aside = path;
    aside += kSetAsideSuffix;
    std::filesystem::rename(path, aside, error);
    return {FactoryMemory(), error ? LoadedState::Source::Unreadable : LoadedState::Source::SetAside};
}

bool SaveStateFile(const std::filesystem::path& path, const KeyboardMemory& memory)
{
    if (path.has_parent_path() && !platform::MakeFolders(path.parent_path())) {
        return false;
    }
    return platform::WriteFileAtomically(path, EncodeStateImage(memory));
}

} // namespace tavrix::sim
