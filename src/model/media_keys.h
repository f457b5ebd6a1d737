#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrix::model {

// A media key offered for assignment. A media assignment stores the key's index in MediaList
// and the keyboard receives its consumer usage; the catalogue takes its rows from here too.
struct MediaKey {
    uint16_t code;
    std::string_view nameKey;
    uint8_t virtualKey;
    uint8_t deviceCode;
    uint16_t consumerUsage;
};

inline constexpr std::array<MediaKey, 18> MediaList{{
    {0x16D, "MEDIA_PALYER_1", 0xB5, 0xC2, 0x0183},
    {0x122, "MEDIA_PALY_PAUSE_2", 0xB3, 0xCE, 0x00CD},
    {0x124, "MEDIA_STOP_PALY_3", 0xB2, 0xCF, 0x00B7},
    {0x110, "MEDIA_PREV_TRACK_4", 0xB1, 0xD0, 0x00B6},
    {0x119, "MEDIA_Next_TRACK_5", 0xB0, 0xD1, 0x00B5},
    {0x12E, "MEDIA_V_LOW_6", 0xAE, 0xC1, 0x00EA},
    {0x130, "MEDIA_V_ADD_7", 0xAF, 0xC0, 0x00E9},
    {0x120, "MEDIA_MUTE_8", 0xAD, 0xCD, 0x00E2},
    {0x132, "MEDIA_WWW_HOME_9", 0xAC, 0xC7, 0x0223},
    {0x167, "MEDIA_WWW_REFRESH_10", 0xA8, 0xCB, 0x0227},
    {0x168, "MEDIA_WWW_STOP_11", 0xA9, 0xCA, 0x0226},
    {0x16A, "MEDIA_WWW_BACK_12", 0xA6, 0xC8, 0x0224},
    {0x169, "MEDIA_WWW_FORWARD_13", 0xA7, 0xC9, 0x0225},
    {0x166, "MEDIA_WWW_FAVORITE_14", 0xAB, 0xCC, 0x022A},
    {0x165, "MEDIA_WWW_SEARCH_15", 0xAA, 0xC6, 0x0221},
    {0x16B, "MEDIA_MY_PC_16", 0xB6, 0xC5, 0x0194},
    {0x121, "MEDIA_CALC_17", 0xB7, 0xC4, 0x0192},
    {0x16C, "MEDIA_MAIL_18", 0xB4, 0xC3, 0x018A},
}};

// Index of the media key that sends this consumer usage.
constexpr std::optional<size_t> MediaIndexOfUsage(uint16_t usage)
{
    for (size_t i = 0; i < MediaList.size(); ++i) {
        if (MediaList[i].consumerUsage == usage)
            return i;
    }
    return std::nullopt;
}

// Slot n holds the consumer usage of device code 0xC0 + n; unused slots hold 0.
inline constexpr uint8_t kFirstConsumerDeviceCode = 0xC0;
inline constexpr size_t kConsumerCodeSlots = 32;

constexpr std::array<uint16_t, kConsumerCodeSlots> MakeConsumerCodes()
{
    std::array<uint16_t, kConsumerCodeSlots> usages{};
    for (const MediaKey& key : MediaList)
        usages[key.deviceCode - kFirstConsumerDeviceCode] = key.consumerUsage;
    return usages;
}

inline constexpr std::array<uint16_t, kConsumerCodeSlots> ConsumerCodes = MakeConsumerCodes();

// Keyboard functions offered for assignment, by name key; a function assignment stores the index.
inline constexpr std::array<std::string_view, 11> FunctionList{
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2", "FUNC_KEY_DESC3", "FUNC_KEY_DESC4",  "FUNC_KEY_DESC5",  "FUNC_KEY_DESC6",
    "FUNC_KEY_DESC7", "FUNC_KEY_DESC8", "FUNC_KEY_DESC9", "FUNC_KEY_DESC10", "FUNC_KEY_DESC11",
};

// Mouse actions offered for assignment, in list order: left, right and middle button, wheel up,
// wheel down.
inline constexpr std::array<uint16_t, 5> MouseActionList{0x171, 0x172, 0x173, 0x161, 0x162};

} // namespace tavrix::model
