// Key tables as the keyboard may return them: any 324 bytes against the factory default table,
// or against a default table of the input's own when it brings one.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "model/key_table_codec.h"
#include "sim/factory_defaults.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tavrix::model;
    KeyTable table{};
    std::copy_n(data, std::min(size, table.size()), table.begin());
    KeyTable defaults = tavrix::sim::DefaultKeyTable();
    if (size >= 2 * kKeyTableSize) {
        std::copy_n(data + kKeyTableSize, kKeyTableSize, defaults.begin());
    }
    const ProfileBlock block = DecodeProfileKeyTable(table, defaults);
    const MacroSlotOf slotOf = [](uint32_t id) -> std::optional<size_t> {
        return id % 3 == 0 ? std::nullopt : std::optional<size_t>(id % 101);
    };
    static_cast<void>(EncodeProfileKeyTable(block, defaults, slotOf));
    return 0;
}
