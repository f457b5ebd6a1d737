#pragma once

#include <QLabel>

// A picture in a skinned window that the user can click: it shows the pixmap its owner gives it
// (the owner keeps the picture) and reports a click to its window as OnCommand(id).
namespace tavrix::controls {

class PictureStatic : public QLabel {
public:
    PictureStatic(int id, QWidget* parent);

    void SetPicture(const QPixmap& picture);
    // The picture shown now, for telling which one the owner chose.
    [[nodiscard]] const QPixmap* Picture() const { return m_picture; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QPixmap* m_picture = nullptr;
};

} // namespace tavrix::controls
