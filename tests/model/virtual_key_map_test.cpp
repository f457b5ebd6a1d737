#include <gtest/gtest.h>

#include "model/virtual_key_map.h"

namespace tavrix::model {
namespace {

uint32_t LParamWithScan(uint16_t scan)
{
    return static_cast<uint32_t>(scan) << 16 | 1u;
}

TEST(VirtualKeyMap, ReadsTheCatalogueBackwards)
{
    struct Case {
        uint8_t virtualKey;
        uint16_t code;
    };
    for (const Case& c : {
             Case{0x41, 0x01E}, // A
             Case{0x10, 0x02A}, // generic Shift: left
             Case{0x11, 0x01D}, // generic Control: left
             Case{0x12, 0x038}, // generic Alt: left
             Case{0x0D, 0x01C}, // Enter, not Num Enter
             Case{0xA1, 0x036}, // Right Shift, not 0x136
             Case{0x2C, 0x137}, // Print Screen, not SysReq
             Case{0x13, 0x045},  Case{0x03, 0x146},
             Case{0x24, 0x147},                     // navigation keys: the 0xE0 ones, not the keypad
             Case{0x2E, 0x153},  Case{0x67, 0x047}, // Num 7
             Case{0x5F, 0x15F},                     // Sleep
             Case{0xAD, 0x120},                     // Mute
             Case{0x7C, 0x064},                     // F13
             Case{0xE9, 0x071},                     // KL
             Case{0x01, kNoKey},                    // the mouse and the program's own keys are never reached
             Case{0xD1, kNoKey}, Case{0x8A, kNoKey},
             Case{0x97, kNoKey}, Case{0x8B, kNoKey}, // Zoom: its device code is no key index
             Case{0x9D, kNoKey}, Case{0x0C, kNoKey}, // Clear exists only as the keypad's Num Lock-off key
             Case{0x07, kNoKey}, Case{0xFF, kNoKey},
         })
        EXPECT_EQ(KeyCodeOf(VirtualKeyMap()[c.virtualKey]), c.code) << std::hex << int(c.virtualKey);
}

TEST(KeyFromVirtualKey, PrefersAScanCodeThatAgrees)
{
    struct Case {
        uint8_t virtualKey;
        uint16_t scan;
        uint16_t code;
    };
    for (const Case& c : {
             Case{0xA1, 0x136, 0x036}, // Right Shift always
             Case{0x10, 0x036, 0x036},
             Case{0xA1, 0x000, 0x036}, // no scan code: the map
             Case{0x0D, 0x000, 0x01C},
             Case{0x0D, 0x11C, 0x11C}, // Num Enter keeps its own code
             Case{0x26, 0x048, 0x048}, // Num 8 with Num Lock off
             Case{0x21, 0x049, 0x049}, // Num 9 with Num Lock off
             Case{0x68, 0x048, 0x048}, // Num 8 with Num Lock on
             Case{0x26, 0x148, 0x148}, // Up
             Case{0x11, 0x11D, 0x11D}, // generic Control from the right-hand key
             Case{0x12, 0x138, 0x138},
             Case{0x2C, 0x054, 0x054}, // SysReq only through its scan code
             Case{0x41, 0x030, 0x01E}, // a disagreeing scan code loses to the virtual key
             Case{0x41, 0x1FF, 0x01E},
             Case{0xFF, 0x073, 0x073}, // no virtual key: the scan code
             Case{0x07, 0x000, kNoKey},
         })
        EXPECT_EQ(KeyFromVirtualKey(c.virtualKey, LParamWithScan(c.scan)), c.code)
            << std::hex << int(c.virtualKey) << " " << c.scan;
}

TEST(KeyFromVirtualKey, ReadsOnlyBits16To24OfTheLParam)
{
    const uint32_t lParam = 0xFE000000u | LParamWithScan(0x148) | 0xFFFFu;
    EXPECT_EQ(KeyFromVirtualKey(0x26, lParam), 0x148);
}

} // namespace
} // namespace tavrix::model
