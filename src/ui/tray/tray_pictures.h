#pragma once

#include <QIcon>
#include <string>

// The program's icons by resource id: 128 no keyboard, 141 keyboard present, 142 the keyboard
// reports itself busy; and the application icon of its windows. They are read from the icon
// folder beside the executable ("<id>.png", "tavrix.png"); a missing file is drawn instead, so
// the tray never shows an empty square.
namespace tavrix::ui {

inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconKeyboardBusy = 142;

// Where the icons are read from (a folder ending with a slash); set once at start.
void SetIconFolder(const std::string& folder);

// The icon of the resource id; an unknown id gives the no-keyboard icon.
QIcon TrayIconPicture(int resourceId);
QIcon ApplicationIcon();

} // namespace tavrix::ui
