#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "skin_layout.h"

// Writing a window's skin: its INI file and its pictures, into the skin folder.
namespace tavrix::skingen {

class SkinOutput {
public:
    // folder: the skin folder; previewFolder (may be empty): where PNG copies of every picture go.
    SkinOutput(QString folder, QString previewFolder);

    // Saves picture under name (the suffix picks the format: .jpg, .bmp or .png).
    void Save(const QString& name, const QImage& picture);
    // Writes the window's INI file: SCREEN with background, mask and extra values, then
    // BUTTONINFO (and BUTTONINFO2 when the layout has image offsets).
    void WriteIni(const WindowLayout& layout, const std::vector<std::pair<QString, QString>>& screen);

    [[nodiscard]] const QStringList& Failures() const { return m_failures; }

private:
    QString m_folder;
    QString m_previewFolder;
    QStringList m_failures;
};

// The skin of each window, written through output.
void WriteMainSkin(SkinOutput& output);
void WriteLightingPictures(SkinOutput& output);
void WriteCompositeSkin(SkinOutput& output);
void WriteProfileSkin(SkinOutput& output);
void WriteUpdateSkin(SkinOutput& output);
void WriteIcons(SkinOutput& output);
// The application icon in an icon theme's folder, as <size>x<size>/apps/tavrix.png; returns the
// pictures that could not be written.
QStringList WriteThemeIcons(const QString& themeFolder);

} // namespace tavrix::skingen
