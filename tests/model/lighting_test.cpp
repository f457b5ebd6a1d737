#include <algorithm>
#include <array>
#include <string>

#include <gtest/gtest.h>

#include "model/lamp_patterns.h"
#include "model/lighting_effects.h"
#include "model/lighting_settings.h"

namespace tavrix::model {
namespace {

LightingBlock BlockWith(std::initializer_list<std::pair<std::size_t, uint8_t>> bytes)
{
    LightingBlock block{};
    for (const auto& [offset, value] : bytes) {
        block[offset] = value;
    }
    return block;
}

TEST(LightingSettingsTest, DecodesTheEditedFieldsAndClampsWhatCouldAddressPastTheLamps)
{
    const struct {
        const char* name;
        LightingBlock block;
        LightingSettings expected;
    } cases[] = {
        {"in range",
         BlockWith({{0, 254}, {1, 3}, {2, 1}, {3, 9}, {4, 255}, {15, 2}, {16, 1}}),
         {254, 3, 1, 9, 255, 2, 1}},
        {"report rate past 3 reads as 3, tool past 1 as light",
         BlockWith({{0, 5}, {15, 200}, {16, 2}}),
         {5, 0, 0, 0, 0, 3, 0}},
        {"a user pattern past 9 reads as the first", BlockWith({{3, 10}}), {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const LightingSettings got = DecodeLightingSettings(c.block);
        EXPECT_EQ(got.effect, c.expected.effect) << c.name;
        EXPECT_EQ(got.brightness, c.expected.brightness) << c.name;
        EXPECT_EQ(got.speed, c.expected.speed) << c.name;
        EXPECT_EQ(got.userPattern, c.expected.userPattern) << c.name;
        EXPECT_EQ(got.direction, c.expected.direction) << c.name;
        EXPECT_EQ(got.reportRate, c.expected.reportRate) << c.name;
        EXPECT_EQ(got.tool, c.expected.tool) << c.name;
    }
}

TEST(LightingSettingsTest, SpeedSliderIsMirroredWithinItsRange)
{
    const std::pair<int, int> positionToSpeed[] = {{0, 4}, {1, 3}, {2, 2}, {4, 0}, {5, 5}, {25, 25}};
    for (const auto& [position, speed] : positionToSpeed) {
        EXPECT_EQ(SpeedOfSliderPosition(position), speed) << position;
    }
    EXPECT_EQ(SliderPositionOfSpeed(4), 0);
    EXPECT_EQ(SliderPositionOfSpeed(0), 4);
}

TEST(LampPatternsTest, DefaultFirstPatternLightsWasdAndTheArrows)
{
    // Lamps of W, A, S, D, Left, Down, Right and Up.
    const std::array<int, 8> lit{18, 11, 19, 27, 69, 77, 85, 108};
    for (int lamp = 0; lamp < kLampCount; ++lamp) {
        const bool expected = std::find(lit.begin(), lit.end(), lamp) != lit.end();
        EXPECT_EQ(IsLampLit(DefaultLampPatterns(), 0, lamp), expected) << lamp;
    }
    EXPECT_TRUE(IsLampLit(DefaultLampPatterns(), 9, 81)) << "byte 10 bit 1 of the tenth pattern";
}

TEST(LampPatternsTest, SettingALampTouchesOnlyItsBit)
{
    LampArea area{};
    area.fill(0xA5);
    const LampArea before = area;
    for (const auto& [pattern, lamp] : {std::pair{0, 0}, std::pair{3, 45}, std::pair{9, kLampCount - 1}}) {
        const bool was = IsLampLit(area, pattern, lamp);
        SetLamp(area, pattern, lamp, !was);
        EXPECT_EQ(IsLampLit(area, pattern, lamp), !was) << pattern << "/" << lamp;
        SetLamp(area, pattern, lamp, was);
    }
    EXPECT_EQ(area, before);
    EXPECT_EQ(LampByteOffset(9, kLampCount - 1), kLampAreaSize - 1);
}

TEST(LampPatternsTest, AllLampsChangeOnlyTheirPattern)
{
    LampArea area{};
    SetAllLamps(area, 2, true);
    for (std::size_t i = 0; i < area.size(); ++i) {
        const bool inPattern = i >= 36 && i < 54;
        EXPECT_EQ(area[i], inPattern ? 0xFF : 0x00) << i;
    }
    SetAllLamps(area, 2, false);
    EXPECT_EQ(area, LampArea{});
}

TEST(LightingEffectsTest, SupportedEffectsSkipEmptySlots)
{
    std::array<uint8_t, device::kInfoBlockSize> info{};
    info.fill(0x77);
    std::fill(info.begin() + 16, info.end(), 0);
    info[16] = 5;
    info[18] = 254;
    info[47] = 40;
    EXPECT_EQ(SupportedEffects(info), (std::vector<uint8_t>{5, 254, 40}));
}

TEST(LightingEffectsTest, EachEffectShowsItsControls)
{
    const struct {
        int code;
        EffectShown how;
        PanelVisibility expected; // effect list, brightness, speed, direction, per-key
    } cases[] = {
        {1, EffectShown::Chosen, {true, true, true, true, false}},
        {5, EffectShown::Chosen, {true, true, false, false, false}},
        {7, EffectShown::Shown, {true, true, false, false, false}},
        {12, EffectShown::Shown, {true, true, true, false, false}},
        {15, EffectShown::Chosen, {true, true, true, true, false}},
        {25, EffectShown::Chosen, {true, true, false, false, false}},
        {28, EffectShown::Chosen, {true, true, true, true, false}},
        {254, EffectShown::Chosen, {true, true, false, false, true}},
        {40, EffectShown::Shown, {true, true, true, true, false}},
        {40, EffectShown::Chosen, {false, false, false, false, false}},
        {0, EffectShown::Chosen, {false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VisibleControls(c.code, c.how), c.expected)
            << c.code << (c.how == EffectShown::Chosen ? " chosen" : " shown");
    }
}

TEST(LightingEffectsTest, DirectionControlsFollowTheEffect)
{
    const struct {
        int code;
        DirectionLayout layout;
        DirectionLook look;
    } cases[] = {
        {1, DirectionLayout::Second, DirectionLook::LeftRight},
        {3, DirectionLayout::Second, DirectionLook::SpreadGather},
        {12, DirectionLayout::Third, DirectionLook::LeftRight},
        {4, DirectionLayout::Usual, DirectionLook::LeftRight},
        {15, DirectionLayout::Usual, DirectionLook::UpDown},
        {254, DirectionLayout::Usual, DirectionLook::LeftRight},
        {40, DirectionLayout::Usual, DirectionLook::LeftRight},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectionLayoutOf(c.code), c.layout) << c.code;
        EXPECT_EQ(DirectionLookOf(c.code), c.look) << c.code;
    }
}

TEST(LightingEffectsTest, TheTableKnowsTheNumberedEffectsAndThePerKeyOne)
{
    for (int code = 0; code < 256; ++code) {
        const bool known = (code >= 1 && code <= 28) || code == kPerKeyEffect;
        EXPECT_EQ(IsKnownEffect(code), known) << code;
        if (known) {
            EXPECT_EQ(FindEffect(code)->code, code);
        }
    }
}

} // namespace
} // namespace tavrix::model
