#pragma once

#include <QImage>
#include <QPixmap>
#include <string>

class QWidget;

// State sheets: window-sized pictures, one per button state, that the image buttons cut their
// pictures from. Each window owns its sheets; buttons only refer to them.
namespace tavrix::skin {

// A sheet reaches this far beyond its window's client area, right and down.
inline constexpr int kSheetMargin = 100;

// folder joined with a skin path written with backslashes ("Skins\main_over.jpg").
[[nodiscard]] std::string JoinSkinPath(const std::string& folder, const std::string& relativePath);

// The picture at relativePath below the executable's folder (exeFolder ends with a slash). A file
// that cannot be read gives a null image, not a failure: the sheet made from it stays unpainted.
[[nodiscard]] QImage LoadSkinImage(const std::string& exeFolder, const std::string& relativePath);

// Makes sheet: window's client size plus kSheetMargin each way, black, with picture drawn
// unscaled at (0, 0) and cut off at the sheet's edge. Replaces any previous sheet.
void MakeStateSheet(QPixmap& sheet, const QImage& picture, const QWidget& window);

} // namespace tavrix::skin
