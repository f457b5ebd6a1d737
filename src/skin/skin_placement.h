#pragma once

#include <QPixmap>
#include <string>

#include "controls/png_button.h"

class QWidget;

// Where the controls of a skinned window go, read from its skin file while the window sets
// itself up (and again when it re-lays itself out). Nothing of the file is kept.
namespace tavrix::skin {

// Places button by the rectangle under key and gives it the sheet offset (x, y) and the sheets.
// A button placed at (1, 1), which includes one whose key is missing, is disabled.
void PlaceSkinButton(controls::CPngButton& button, const std::string& iniPath, const std::string& section,
                     const std::string& key, const controls::ButtonSheets& sheets);

// Moves and sizes control to the rectangle under key.
void PlaceSkinControl(QWidget& control, const std::string& iniPath, const std::string& section, const std::string& key);

// Places button by the first rectangle; its picture is cut from sheet at the x and y of the
// second rectangle, in every state.
void PlaceSkinArrow(controls::CPngButton& button, const std::string& iniPath, const std::string& placeSection,
                    const std::string& placeKey, const std::string& imageSection, const std::string& imageKey,
                    const QPixmap* sheet);

// Moves control's top-left corner to the x and y under key, keeping its size.
void MoveSkinControl(QWidget& control, const std::string& iniPath, const std::string& section, const std::string& key);

} // namespace tavrix::skin
