#include "controls/png_button.h"

#include <QCursor>
#include <QEnterEvent>
#include <QPainter>
#include <QToolTip>

#include "controls/control_id.h"
#include "controls/png_button_caption.h"
#include "controls/window_message.h"
#include "platform/clock.h"

namespace tavrix::controls {

namespace {

// How long the mouse must rest on a button before its tooltip shows.
constexpr uint32_t kTooltipDelayMs = 300;

} // namespace

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
    update();
}

void CPngButton::SetCheckSheets(const QPixmap* checkOff, const QPixmap* checkOn, bool checkMode, bool checkState)
{
    m_checkOff = checkOff;
    m_checkOn = checkOn;
    m_checkMode = checkMode;
    m_checkState = checkState;
    ClearMouseState();
    update();
}

void CPngButton::SetSelected(bool selected, bool drawNow)
{
    m_selected = selected;
    if (drawNow) {
        update();
    }
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
    update();
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

CPngButton::Look CPngButton::CurrentLook() const
{
    if (!isEnabled()) {
        return Look::Disabled;
    }
    if (m_checkMode) {
        return Look::Check;
    }
    if (isDown()) {
        return Look::Down;
    }
    if (m_hover) {
        return Look::Over;
    }
    return m_selected ? Look::Selected : Look::Normal;
}

const QPixmap* CPngButton::ChosenSheet() const
{
    switch (CurrentLook()) {
    case Look::Disabled:
        return m_sheets.disabled;
    case Look::Check:
        return m_checkState ? m_checkOn : m_checkOff;
    case Look::Down:
        return m_sheets.down;
    case Look::Over:
        return m_sheets.over;
    case Look::Selected:
        return m_sheets.selected;
    case Look::Normal:
        break;
    }
    return m_sheets.normal;
}

QColor CPngButton::ChosenColor() const
{
    switch (CurrentLook()) {
    case Look::Disabled:
        return m_colors.disabled;
    case Look::Down:
        return m_colors.down;
    case Look::Over:
        return m_colors.over;
    case Look::Selected:
        return m_colors.selected;
    case Look::Check: // a check button's caption keeps the normal colour
    case Look::Normal:
        break;
    }
    return m_colors.normal;
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
        m_tooltipTimer.start(platform::TimerIntervalMs(kTooltipDelayMs));
    }
}

void CPngButton::ShowTooltip()
{
    if (m_hover && m_tooltipActive) {
        QToolTip::showText(QCursor::pos(), m_tooltipText, this, rect());
    }
}

} // namespace tavrix::controls
