#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "device/command_set.h"
#include "model/lamp_patterns.h"
#include "model/lighting_effects.h"
#include "model/lighting_settings.h"

namespace tavrix::model {

// What a read of the keyboard's lighting covers: everything, or only the settings blocks after
// the keyboard changed its lighting by itself.
enum class LightingRead { Full, SettingsOnly };

// The keyboard's lighting as the program knows it, and every way the program changes it: the
// settings blocks and lamp areas of the three lighting profiles, the report rate kept in them,
// the effects the keyboard offers and the profile being edited. The windows read the state and
// call the intents; tavrix-ctl writes its changes in one configuration of its own, as it must
// report how they went, and the window reads them back.
//
// An intent changes the state at once and hands the write that carries it to the keyboard to the
// runner: the main window runs it on its keyboard thread, the command line at once. Each write is
// one configuration, sent in the order of the intents. Write results are not reported (a failed
// command is in the diagnostic log): the state keeps the user's choice, and the next read shows
// what the keyboard kept. The state may be read from any thread; intents come from one thread.
class LightingController {
public:
    using Job = std::function<void()>;
    using Runner = std::function<void(Job)>;

    // Without a runner every job runs at once, on the thread of the intent.
    explicit LightingController(device::CommandSet& commands, Runner runner = {});

    // The lighting profile (0..2) shown and edited.
    [[nodiscard]] int Profile() const;
    [[nodiscard]] LightingBlock Block(int profile) const;
    [[nodiscard]] LampArea Lamps(int profile) const;
    // The effect codes the keyboard offers, in its order; empty until read.
    [[nodiscard]] std::vector<uint8_t> Effects() const;
    // The keyboard offers the per-key effect, so it has lamp areas.
    [[nodiscard]] bool HasPerKeyEffect() const;
    // The edited fields of the profile's block.
    [[nodiscard]] LightingSettings Settings() const;
    // The effect the user chose last, or the profile's as read; an effect this program does not
    // know stays chosen without being written.
    [[nodiscard]] int ChosenEffect() const;
    // Whether lamp (0..143) is lit in the profile's current user pattern.
    [[nodiscard]] bool IsLampLit(int lamp) const;

    // Makes profile (0..2) the one shown and edited; writes nothing.
    void SelectProfile(int profile);
    // Chooses the effect and writes it when this program knows it.
    void SetEffect(int code);
    // Write only a change: dragging a slider across its stop sends one write.
    void SetBrightness(int value);
    void SetSpeed(int value);
    void SetDirection(uint8_t direction);
    void SetTool(uint8_t tool);
    // Makes pattern (0..9) current; write: also tell the keyboard (only while the lighting is
    // edited, as the keyboard shows the pattern it is told).
    void SetPattern(int pattern, bool write);
    // Lights (tool light) or darkens (tool darken) the lamp in the current pattern and writes its
    // byte, even when it already was so: the keyboard may hold another. Only while the chosen
    // effect is the per-key one; false when nothing changed.
    bool ToggleLamp(int lamp);
    // Lights or darkens every lamp of the current pattern.
    void SetAllLamps(bool lit);
    // Report-rate code 0..3, kept in the profile's block.
    void SetReportRate(int code);
    // The factory lighting of the profile: effect 5, the default patterns (when the keyboard has
    // lamp areas) and the default block.
    void ResetDefaults();
    // Reads the lighting from the keyboard: the effect list, the three settings blocks and, with
    // Full and the per-key effect offered, the profile's lamp area. A part that cannot be read
    // keeps what was held; without the effect list nothing else is read. done receives 0, or -1
    // when the keyboard could not be read, on the runner's thread.
    void Reload(LightingRead what, std::function<void(int)> done = {});

private:
    enum class Area { Settings, Lamps };
    // Bytes of one profile's block or lamp area, and the requests they go out in.
    struct Patch {
        Area area;
        int profile;
        std::size_t offset;
        std::vector<uint8_t> bytes;
        std::size_t requestSize;
        uint64_t id = 0;
    };

    // Puts the patch into the state (m_mutex held).
    void ApplyLocked(const Patch& patch);
    // Changes the state and hands the write to the runner.
    void Send(Patch patch);
    int Write(const Patch& patch);
    void Run(Job job);
    void SetSetting(std::size_t offset, uint8_t value);
    LightingBlock& BlockLocked(int profile) { return m_blocks[static_cast<std::size_t>(profile)]; }
    LampArea& LampsLocked(int profile) { return m_lamps[static_cast<std::size_t>(profile)]; }

    device::CommandSet& m_commands;
    Runner m_runner;
    mutable std::mutex m_mutex; // guards everything below
    int m_profile = 0;
    std::array<LightingBlock, device::kProfileCount> m_blocks{};
    std::array<LampArea, device::kProfileCount> m_lamps{};
    std::vector<uint8_t> m_effects;
    int m_chosenEffect = 0;
    // Patches handed to the runner and not yet written: a read that finishes before them does not
    // know them, so they are put back over what it read.
    std::vector<Patch> m_unwritten;
    uint64_t m_nextPatchId = 1;
};

} // namespace tavrix::model
