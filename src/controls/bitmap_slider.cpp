#include "controls/bitmap_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "controls/control_id.h"
#include "controls/window_message.h"

namespace tavrix::controls {

namespace {

// One notch of a mouse wheel.
constexpr uint16_t kWheelNotch = 120;

// Added to a clicked pixel before it is turned into a position, so a click a little left of a
// mark still reaches it.
constexpr double kPixelBias = 10.0;

} // namespace

int SliderScale::PixelOf(int position) const
{
    if (maximum == minimum) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(position - minimum) / (maximum - minimum) * pictureWidth);
}

int SliderScale::PositionOf(int x) const
{
    if (pictureWidth <= 0) {
        return minimum;
    }
    return static_cast<int>(minimum + (x + kPixelBias) / pictureWidth * (maximum - minimum));
}

CBitmapSlider::CBitmapSlider(int id, QWidget* parent) : QWidget(parent)
{
    SetDlgCtrlID(*this, id);
    setFocusPolicy(Qt::ClickFocus);
}

void CBitmapSlider::InitSliderPicture(const QPixmap& picture)
{
    m_pictureSize = picture.size();
    resize(m_pictureSize);
    m_surface = QPixmap();
}

void CBitmapSlider::SetSliderPicture(const QPixmap& picture)
{
    m_surface = picture;
    repaint();
}

void CBitmapSlider::SetSliderRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

int CBitmapSlider::SetSliderPage(int step)
{
    const int previous = m_pageStep;
    m_pageStep = step;
    return previous;
}

void CBitmapSlider::SetSliderPos(int position)
{
    position = std::min(position, m_maximum);
    position = std::max(position, m_minimum);
    m_position = position;
    update();
}

void CBitmapSlider::paintEvent(QPaintEvent*)
{
    if (m_surface.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_surface, rect());
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_wheelActive = true;
    m_dragging = true;
    MoveToPixel(event->position().toPoint().x());
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        MoveToPixel(event->position().toPoint().x());
    }
    QWidget::mouseMoveEvent(event);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    Post();
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
        SetAndPost(m_position - m_pageStep);
        return;
    case Qt::Key_PageDown:
        SetAndPost(m_position + m_pageStep);
        return;
    case Qt::Key_End:
        SetAndPost(m_maximum);
        return;
    case Qt::Key_Home:
        SetAndPost(m_minimum);
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        SetAndPost(m_position - 1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        SetAndPost(m_position + 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CBitmapSlider::wheelEvent(QWheelEvent* event)
{
    if (!m_wheelActive) {
        event->ignore();
        return;
    }
    // The delta is read as an unsigned word: one notch away from the user is exactly 120; every
    // turn towards the user, and a faster turn away, reads larger.
    const auto delta = static_cast<uint16_t>(static_cast<int16_t>(event->angleDelta().y()));
    if (delta == kWheelNotch) {
        SetSliderPos(m_position - 1);
    } else if (delta > kWheelNotch) {
        SetSliderPos(m_position + 1);
    }
    Post();
}

void CBitmapSlider::leaveEvent(QEvent* event)
{
    m_wheelActive = false;
    QWidget::leaveEvent(event);
}

void CBitmapSlider::MoveToPixel(int x)
{
    const SliderScale scale = Scale();
    if (x != scale.PixelOf(m_position)) {
        SetAndPost(scale.PositionOf(x));
    }
}

void CBitmapSlider::SetAndPost(int position)
{
    SetSliderPos(position);
    Post();
}

void CBitmapSlider::Post()
{
    PostMessage(OwnerWindow(*this), UM_SLIDER, static_cast<WParam>(GetDlgCtrlID(*this)), m_position);
}

} // namespace tavrix::controls
