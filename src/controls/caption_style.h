#pragma once

#include <QColor>
#include <QString>

#include "controls/png_button.h"

// The caption look the skins are drawn for: white captions that turn orange under the mouse,
// grey when disabled and blue when selected, in one face, mostly centred on one line.
namespace tavrix::controls {

inline const CaptionColors kSkinCaptionColors{QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0x82, 0x00),
                                              QColor(0xFF, 0x9B, 0x04), QColor(0x7F, 0x7F, 0x7F),
                                              QColor(0x00, 0x64, 0xFF)};

inline const QString kSkinCaptionFace = QStringLiteral("Arial Unicode MS");

inline constexpr unsigned kCentredCaption = TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine;

} // namespace tavrix::controls
