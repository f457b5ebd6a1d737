#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>

// A horizontal slider that shows whatever picture its owner gives it and turns mouse, key and
// wheel input into a position within a range. Each change is posted to its window as UM_SLIDER.
namespace tavrix::controls {

// Posted to the slider's window: wParam the slider's id, lParam the position.
inline constexpr uint32_t UM_SLIDER = 0x28D1;

// The position/pixel arithmetic of the slider over a picture pictureWidth pixels wide.
struct SliderScale {
    int minimum = 0;
    int maximum = 0;
    int pictureWidth = 0;

    // The pixel of position p: (p - minimum) / (maximum - minimum) * width, cut to an integer.
    [[nodiscard]] int PixelOf(int position) const;
    // The position of pixel x: minimum + (x + 10) / width * (maximum - minimum), cut to an integer.
    // Not clamped; an empty range or picture gives the minimum.
    [[nodiscard]] int PositionOf(int x) const;
};

class CBitmapSlider : public QWidget {
public:
    CBitmapSlider(int id, QWidget* parent);

    // Takes the picture's size as the control's size (keeping its position).
    void InitSliderPicture(const QPixmap& picture);
    // The control shows picture from now on; the owner keeps owning it.
    void SetSliderPicture(const QPixmap& picture);
    void SetSliderRange(int minimum, int maximum);
    // Returns the previous page step.
    int SetSliderPage(int step);
    // Clamps to the range (maximum first, then minimum) and draws.
    void SetSliderPos(int position);

    [[nodiscard]] int GetSliderPos() const { return m_position; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    [[nodiscard]] SliderScale Scale() const { return {m_minimum, m_maximum, m_pictureSize.width()}; }
    void MoveToPixel(int x);
    void SetAndPost(int position);
    void Post();

    QSize m_pictureSize;
    QPixmap m_surface;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
    int m_pageStep = 0;
    bool m_dragging = false;
    bool m_wheelActive = false;
};

} // namespace tavrix::controls
