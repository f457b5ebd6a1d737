#pragma once

#include <QColor>
#include <QLabel>

// A label whose text is drawn in its own colour straight onto the window's picture, with no
// background of its own.
namespace tavrix::controls {

class ColorStatic : public QLabel {
public:
    ColorStatic(int id, QWidget* parent);

    // Stores the colour and redraws at once.
    void SetLabelColor(const QColor& color);
    [[nodiscard]] QColor LabelColor() const { return m_color; }

private:
    QColor m_color{255, 255, 255};
};

} // namespace tavrix::controls
