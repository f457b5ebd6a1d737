#include "controls/png_button.h"

#include <QCursor>
#include <QEnterEvent>
#include <QPainter>
#include <QToolTip>
#include <chrono>

#include "controls/control_id.h"
#include "controls/png_button_caption.h"
#include "controls/window_message.h"
#include "platform/clock.h"

namespace tavrix::controls {

namespace {

// How long the mouse must rest on a button before its tooltip shows.
constexpr uint32_t kTooltipDelayMs = 300;

}  // namespace

CPngButton::CPngButton(int id, QWidget* parent) : QAbstractButton(parent)
{
    SetDlgCtrlID(*this, id);
    setMouseTracking(true);
    m_tooltipTimer.setSingleShot(true);
    QObject::connect(&m_tooltipTimer, &QTimer::timeout, this, [this] { ShowTooltip(); });
    QObject::connect(this, &QAbstractButton::clicked, this, [this] { NotifyCommand(*this); });
}

CPngButton::~CPngButton()
{
    if (m_tooltipCreated && QToolTip::isVisible()) {
        QToolTip::hideText();
    }
}

void CPngButton::SetSkin(int x, int y, const ButtonSheets& sheets)
{
    m_sheetX = x;
    m_sheetY = y;
    SetSheets(sheets);
}

void CPngButton::SetSheets(const ButtonSheets& sheets)
{
    m_sheets = sheets;
    ClearMouseState();
    Redraw();
}

void CPngButton::SetCheckSheets(const QPixmap* checkOff, const QPixmap* checkOn, bool checkMode, bool checkState)
{
    m_checkOff = checkOff;
    m_checkOn = checkOn;
    m_checkMode = checkMode;
    m_checkState = checkState;
    ClearMouseState();
    Redraw();
}

void CPngButton::SetSelected(bool selected, bool drawNow)
{
    m_selected = selected;
    if (drawNow) {
        Redraw();
    }
}

void CPngButton::Redraw()
{
    update();
}

void CPngButton::SetTextStyle(bool captionOn, int pointSize, const QString& faceName, const CaptionColors& colors,
                              unsigned format)
{
    m_captionOn = captionOn;
    m_pointSize = pointSize;
    m_faceName = faceName;
    m_colors = colors;
    m_format = format;
    update();
}

void CPngButton::SetTextRotation(int escapement, bool rotated)
{
    m_escapement = escapement;
    m_rotated = rotated;
    update();
}

void CPngButton::SetFrame(const QColor& frameColor, bool frameMode)
{
    m_frameColor = frameColor;
    m_frameMode = frameMode;
    Redraw();
}

void CPngButton::SetDrawCallback(DrawCallback callback)
{
    m_drawCallback = std::move(callback);
}

void CPngButton::SetTooltipText(const QString& text, bool activate)
{
    if (text.isEmpty()) {
        return;
    }
    m_tooltipCreated = true;
    m_tooltipText = text;
    m_tooltipActive = activate;
    if (!activate) {
        m_tooltipTimer.stop();
    }
}

const QPixmap* CPngButton::ChosenSheet() const
{
    if (!isEnabled()) {
        return m_sheets.disabled;
    }
    if (m_checkMode) {
        return m_checkState ? m_checkOn : m_checkOff;
    }
    if (isDown()) {
        return m_sheets.down;
    }
    if (m_hover) {
        return m_sheets.over;
    }
    return m_selected ? m_sheets.selected : m_sheets.normal;
}

QColor CPngButton::ChosenColor() const
{
    if (!isEnabled()) {
        return m_colors.disabled;
    }
    if (m_checkMode) {
        return m_colors.normal;
    }
    if (isDown()) {
        return m_colors.down;
    }
    if (m_hover) {
        return m_colors.over;
    }
    return m_selected ? m_colors.selected : m_colors.normal;
}

QFont CPngButton::CaptionFont() const
{
    return MakeCaptionFont(m_faceName, m_pointSize, logicalDpiY(), m_rotated);
}

void CPngButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap* sheet = ChosenSheet();
    if (m_frameMode) {
        // A two-pixel pen centred on the outline from (1, 1) to (width - 1, height - 1).
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_frameColor, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
        painter.setRenderHint(QPainter::Antialiasing, false);
    } else if (sheet != nullptr && !sheet->isNull()) {
        // A button's picture lies one pixel up and left of its own position on the sheet.
        painter.drawPixmap(QPoint(0, 0), *sheet, QRect(m_sheetX - 1, m_sheetY - 1, width(), height()));
    }
    m_lastSheet = sheet;
    if (m_captionOn) {
        const CaptionStyle style{CaptionFont(), ChosenColor(), m_format, m_escapement, m_rotated};
        DrawCaption(painter, style, rect(), text());
    }
    if (m_drawCallback) {
        m_drawCallback(*this, painter, sheet == m_sheets.normal);
    }
}

void CPngButton::enterEvent(QEnterEvent* event)
{
    OnHover();
    QAbstractButton::enterEvent(event);
}

void CPngButton::mouseMoveEvent(QMouseEvent* event)
{
    OnHover();
    QAbstractButton::mouseMoveEvent(event);
}

void CPngButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    m_tooltipTimer.stop();
    update();
    QAbstractButton::leaveEvent(event);
}

bool CPngButton::event(QEvent* event)
{
    // The button shows its own tooltip after its own rest time.
    if (event->type() == QEvent::ToolTip) {
        return true;
    }
    return QAbstractButton::event(event);
}

void CPngButton::ClearMouseState()
{
    m_hover = false;
    setDown(false);
}

void CPngButton::OnHover()
{
    if (!m_hover) {
        m_hover = true;
        update();
    }
    if (m_tooltipActive) {
        const auto delay =
            std::chrono::duration_cast<std::chrono::milliseconds>(platform::ScaledDuration(kTooltipDelayMs));
        m_tooltipTimer.start(std::max<int>(1, static_cast<int>(delay.count())));
    }
}

void CPngButton::ShowTooltip()
{
    if (m_hover && m_tooltipActive) {
        QToolTip::showText(QCursor::pos(), m_tooltipText, this, rect());
    }
}

}  // namespace tavrix::controls
