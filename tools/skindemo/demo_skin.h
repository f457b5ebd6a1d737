#pragma once

#include <QString>

// Writes a small skin made of drawn test pictures: Skins/Demo.ini with its background and state
// sheets, below folder.
namespace tavrix::skindemo {

inline constexpr int kDemoWidth = 480;
inline constexpr int kDemoHeight = 260;

// Returns false when a file could not be written.
bool WriteDemoSkin(const QString& folder);

} // namespace tavrix::skindemo
