#pragma once

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <string>

// A skin folder of test pictures and skin files in a temporary folder.
namespace tavrix::testing {

class TestSkin {
public:
    // The folder, with its trailing slash.
    [[nodiscard]] std::string Folder() const { return m_dir.path().toStdString() + "/"; }
    [[nodiscard]] std::string PathOf(const std::string& name) const { return Folder() + name; }

    // Writes text as the file name and returns its path.
    std::string WriteFile(const std::string& name, const std::string& text) const;
    // Saves picture as name (the suffix picks the format) and returns its path.
    std::string WritePicture(const std::string& name, const QImage& picture) const;

    // A picture of size filled with fill, with a border of border wide in borderColor.
    static QImage Picture(QSize size, const QColor& fill, int border = 0, const QColor& borderColor = Qt::white);

private:
    QTemporaryDir m_dir;
};

} // namespace tavrix::testing
