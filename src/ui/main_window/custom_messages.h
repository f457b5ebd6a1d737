#pragma once

#include <cstdint>

#include "app/instance_messages.h"
#include "ui/tray/tray_icon.h"

// The main window's own messages, each with the tag that must travel in wParam (a message with
// another tag is ignored), its timers, and the commands of its menus.
namespace tavrix::ui {

using app::kKillRequestTag;
using app::kOpenRequestTag;
using app::UM_KILL;
using app::UM_OPEN;

inline constexpr uint32_t UM_INIT = 0x4D4E;
inline constexpr uint32_t UM_PROFILE = 0x5452;
inline constexpr uint32_t UM_GKEYS = 0x5045;
inline constexpr uint32_t UM_LANG = 0x5041;
inline constexpr uint32_t UM_CLOSE_EDITORS = 0x4753;
inline constexpr uint32_t UM_SLIDER = 0x28D1;

inline constexpr uint32_t kInitTag = 0x494E4954;
inline constexpr uint32_t kProfileTag = 0x50524F46;
inline constexpr uint32_t kGKeysTag = 0x004C4544;
inline constexpr uint32_t kLangTag = 0x4C414E47;
inline constexpr uint32_t kCloseEditorsTag = 0;

// A time change posted to the window runs the apply routine.
inline constexpr uint32_t WM_TIMECHANGE = 0x001E;

inline constexpr int kTimerProgress = 1050;
inline constexpr int kTimerLightingRefresh = 1051;
inline constexpr uint32_t kProgressPeriodMs = 50;
inline constexpr uint32_t kProgressLingerMs = 100;

// Commands of the tray menu, the button menu and from outside.
inline constexpr int kCommandOpen = kTrayCommandOpen;
inline constexpr int kCommandAbout = kTrayCommandAbout;
inline constexpr int kCommandExit = kTrayCommandExit;
inline constexpr int kCommandImport = 32776;
inline constexpr int kCommandExport = 32777;
inline constexpr int kCommandUpdate = app::kUpdateCommand;
// The system menu's about item.
inline constexpr int kCommandSystemAbout = 16;

} // namespace tavrix::ui
