#include <map>

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "model/linux_input_keys.h"
#include "model/media_keys.h"
#include "ui/main_window/key_layout.h"

// The capture table against the kernel's own names of the keys: every key of the drawn keyboard,
// pressed on a real keyboard, must give the key it is drawn as.
namespace tavrix::model {
namespace {

// Each drawn key's code and the Linux input code of the key a keyboard sends for it.
const std::map<uint16_t, int>& DrawnKeyInputCodes()
{
    static const std::map<uint16_t, int> kCodes = {
        {0x001, KEY_ESC},      {0x002, KEY_1},          {0x003, KEY_2},          {0x004, KEY_3},
        {0x005, KEY_4},        {0x006, KEY_5},          {0x007, KEY_6},          {0x008, KEY_7},
        {0x009, KEY_8},        {0x00A, KEY_9},          {0x00B, KEY_0},          {0x00C, KEY_MINUS},
        {0x00D, KEY_EQUAL},    {0x00E, KEY_BACKSPACE},  {0x00F, KEY_TAB},        {0x010, KEY_Q},
        {0x011, KEY_W},        {0x012, KEY_E},          {0x013, KEY_R},          {0x014, KEY_T},
        {0x015, KEY_Y},        {0x016, KEY_U},          {0x017, KEY_I},          {0x018, KEY_O},
        {0x019, KEY_P},        {0x01A, KEY_LEFTBRACE},  {0x01B, KEY_RIGHTBRACE}, {0x01C, KEY_ENTER},
        {0x01D, KEY_LEFTCTRL}, {0x01E, KEY_A},          {0x01F, KEY_S},          {0x020, KEY_D},
        {0x021, KEY_F},        {0x022, KEY_G},          {0x023, KEY_H},          {0x024, KEY_J},
        {0x025, KEY_K},        {0x026, KEY_L},          {0x027, KEY_SEMICOLON},  {0x028, KEY_APOSTROPHE},
        {0x029, KEY_GRAVE},    {0x02A, KEY_LEFTSHIFT},  {0x02B, KEY_BACKSLASH},  {0x02C, KEY_Z},
        {0x02D, KEY_X},        {0x02E, KEY_C},          {0x02F, KEY_V},          {0x030, KEY_B},
        {0x031, KEY_N},        {0x032, KEY_M},          {0x033, KEY_COMMA},      {0x034, KEY_DOT},
        {0x035, KEY_SLASH},    {0x036, KEY_RIGHTSHIFT}, {0x037, KEY_KPASTERISK}, {0x038, KEY_LEFTALT},
        {0x039, KEY_SPACE},    {0x03A, KEY_CAPSLOCK},   {0x03B, KEY_F1},         {0x03C, KEY_F2},
        {0x03D, KEY_F3},       {0x03E, KEY_F4},         {0x03F, KEY_F5},         {0x040, KEY_F6},
        {0x041, KEY_F7},       {0x042, KEY_F8},         {0x043, KEY_F9},         {0x044, KEY_F10},
        {0x045, KEY_PAUSE},    {0x046, KEY_SCROLLLOCK}, {0x047, KEY_KP7},        {0x048, KEY_KP8},
        {0x049, KEY_KP9},      {0x04A, KEY_KPMINUS},    {0x04B, KEY_KP4},        {0x04C, KEY_KP5},
        {0x04D, KEY_KP6},      {0x04E, KEY_KPPLUS},     {0x04F, KEY_KP1},        {0x050, KEY_KP2},
        {0x051, KEY_KP3},      {0x052, KEY_KP0},        {0x053, KEY_KPDOT},      {0x057, KEY_F11},
        {0x058, KEY_F12},      {0x11C, KEY_KPENTER},    {0x11D, KEY_RIGHTCTRL},  {0x135, KEY_KPSLASH},
        {0x137, KEY_SYSRQ},    {0x138, KEY_RIGHTALT},   {0x145, KEY_NUMLOCK},    {0x147, KEY_HOME},
        {0x148, KEY_UP},       {0x149, KEY_PAGEUP},     {0x14B, KEY_LEFT},       {0x14D, KEY_RIGHT},
        {0x14F, KEY_END},      {0x150, KEY_DOWN},       {0x151, KEY_PAGEDOWN},   {0x152, KEY_INSERT},
        {0x153, KEY_DELETE},   {0x15B, KEY_LEFTMETA},   {0x15C, KEY_RIGHTMETA},  {0x15D, KEY_COMPOSE},
    };
    return kCodes;
}

TEST(CaptureTable, EveryKeyOfTheDrawnKeyboardGivesItsOwnCode)
{
    for (const ui::DrawnKey& key : ui::DrawnKeys()) {
        const auto input = DrawnKeyInputCodes().find(key.keyCode);
        ASSERT_NE(input, DrawnKeyInputCodes().end()) << "drawn key " << std::hex << key.keyCode;
        EXPECT_EQ(KeyFromLinuxInput(static_cast<uint32_t>(input->second)), key.keyCode)
            << "Linux code " << std::dec << input->second;
    }
}

TEST(CaptureTable, MediaKeysAreKnownSoTheyCanPassOn)
{
    const std::map<int, uint16_t> media = {
        {KEY_MEDIA, 0x16D},    {KEY_PLAYPAUSE, 0x122},  {KEY_STOPCD, 0x124},   {KEY_PREVIOUSSONG, 0x110},
        {KEY_NEXTSONG, 0x119}, {KEY_VOLUMEDOWN, 0x12E}, {KEY_VOLUMEUP, 0x130}, {KEY_MUTE, 0x120},
        {KEY_HOMEPAGE, 0x132}, {KEY_REFRESH, 0x167},    {KEY_STOP, 0x168},     {KEY_BACK, 0x16A},
        {KEY_FORWARD, 0x169},  {KEY_BOOKMARKS, 0x166},  {KEY_SEARCH, 0x165},   {KEY_COMPUTER, 0x16B},
        {KEY_CALC, 0x121},     {KEY_MAIL, 0x16C},
    };
    ASSERT_EQ(media.size(), MediaList.size());
    for (const auto& [input, code] : media) {
        EXPECT_EQ(KeyFromLinuxInput(static_cast<uint32_t>(input)), code) << "Linux code " << input;
    }
}

TEST(CaptureTable, NativeScanCodesAreLinuxCodesPlusEight)
{
    EXPECT_EQ(KeyFromNativeScanCode(KEY_A + 8), 0x01E);
    EXPECT_EQ(KeyFromNativeScanCode(KEY_SYSRQ + 8), 0x137);
    EXPECT_EQ(KeyFromNativeScanCode(0), 0) << "offscreen and synthetic events carry none";
    EXPECT_EQ(KeyFromNativeScanCode(7), 0);
    EXPECT_EQ(KeyFromNativeScanCode(KEY_ZENKAKUHANKAKU + 8), 0) << "a key the catalogue lacks";
    EXPECT_EQ(KeyFromLinuxInput(KEY_MAX), 0);
    EXPECT_EQ(KeyFromLinuxInput(0xFFFFFFFF), 0);
}

} // namespace
} // namespace tavrix::model
