// Profile files of the largest model and the two codecs of the keyboard's tables.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "bench_models.h"
#include "model/key_code.h"
#include "model/key_table_codec.h"
#include "model/macro_area.h"
#include "model/profile_file.h"
#include "quiet_device_host.h"
#include "sim/factory_defaults.h"

namespace tavrix::bench {

namespace {

std::filesystem::path ScratchFile(const char* name)
{
    return std::filesystem::temp_directory_path() /
           (std::string("tavrix-bench-") + name + "-" + std::to_string(::getpid()) + ".fwc");
}

// A profile block with something on every position of the table: remapped keys, disabled keys
// and macros in turn.
model::ProfileBlock BusyBlock(const model::KeyTable& defaults)
{
    model::ProfileBlock block{};
    for (std::size_t position = 0; position < model::kKeyTablePositions; ++position) {
        const uint16_t key = model::KeyFromEntry(model::EntryAt(defaults, position));
        const uint16_t other =
            model::KeyFromEntry(model::EntryAt(defaults, (position + 1) % model::kKeyTablePositions));
        if (key == 0 || other == 0) {
            continue;
        }
        switch (position % 3) {
        case 0:
            block[model::KeyIndexOf(key)] = {model::kTypeKey, 0, other};
            break;
        case 1:
            block[model::KeyIndexOf(key)] = {model::kTypeDisabled};
            break;
        default:
            block[model::KeyIndexOf(key)] = {model::kTypeMacro, 0, static_cast<uint32_t>(position % 100 + 1)};
            break;
        }
    }
    return block;
}

void BM_ValidateAndLoadLargestProfile(benchmark::State& state)
{
    model::ConfigModel largest = LargestModel();
    const std::filesystem::path path = ScratchFile("load");
    if (!model::SaveModelToFile(largest, path)) {
        state.SkipWithError("the profile file could not be written");
        return;
    }
    testing::QuietTextHost<model::ProfileFileHost> host;
    model::ConfigModel loaded;
    for (auto _ : state) {
        if (model::ValidateProfileFile(path, host) != model::kProfileValid || !model::LoadProfileFile(path, loaded)) {
            state.SkipWithError("the profile file did not load");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ValidateAndLoadLargestProfile)->Unit(benchmark::kMillisecond);

void BM_SaveLargestProfile(benchmark::State& state)
{
    model::ConfigModel largest = LargestModel();
    const std::filesystem::path path = ScratchFile("save");
    for (auto _ : state) {
        if (!model::SaveModelToFile(largest, path)) {
            state.SkipWithError("the profile file could not be written");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveLargestProfile)->Unit(benchmark::kMillisecond);

void BM_EncodeKeyTable(benchmark::State& state)
{
    const model::KeyTable defaults = sim::DefaultKeyTable();
    const model::ProfileBlock block = BusyBlock(defaults);
    const model::MacroSlotOf slotOf = [](uint32_t id) -> std::optional<size_t> { return id - 1; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::EncodeProfileKeyTable(block, defaults, slotOf));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeKeyTable);

void BM_DecodeKeyTable(benchmark::State& state)
{
    const model::KeyTable defaults = sim::DefaultKeyTable();
    const model::MacroSlotOf slotOf = [](uint32_t id) -> std::optional<size_t> { return id - 1; };
    const model::KeyTable table = model::EncodeProfileKeyTable(BusyBlock(defaults), defaults, slotOf);
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::DecodeProfileKeyTable(table, defaults));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeKeyTable);

// The extra area of 100 macros with their names, as the factory keyboard holds them.
void BM_EncodeExtraArea(benchmark::State& state)
{
    const std::vector<model::MacroRecord> macros = KeyboardMacros();
    std::vector<uint8_t> area(model::MacroAreaSizes(macros).withNames);
    for (auto _ : state) {
        if (!model::EncodeMacroArea(macros, area, true)) {
            state.SkipWithError("the macros did not fit");
            break;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(area.size()));
}
BENCHMARK(BM_EncodeExtraArea)->Unit(benchmark::kMicrosecond);

void BM_DecodeExtraArea(benchmark::State& state)
{
    const std::vector<model::MacroRecord> macros = KeyboardMacros();
    std::vector<uint8_t> area(model::MacroAreaSizes(macros).withNames);
    if (!model::EncodeMacroArea(macros, area, true)) {
        state.SkipWithError("the macros did not fit");
        return;
    }
    const model::TextLookup lookup = [](std::string_view) { return std::u16string(u"Macro "); };
    for (auto _ : state) {
        benchmark::DoNotOptimize(model::DecodeMacroArea(area, lookup));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(area.size()));
}
BENCHMARK(BM_DecodeExtraArea)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tavrix::bench
