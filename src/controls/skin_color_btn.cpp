#include "controls/skin_color_btn.h"

#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QWidgetAction>

#include "controls/control_id.h"
#include "controls/prompts.h"
#include "controls/window_message.h"

namespace tavrix::controls {

namespace {

const QColor kDropDownFill(148, 145, 139);
const QColor kSwatchFrame(64, 64, 64);
constexpr int kSwatchSize = 16;

// The palette a button offers until its window gives another.
const std::vector<QColor>& DefaultPalette()
{
    static const std::vector<QColor> palette = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
    };
    return palette;
}

// The face is laid out on the edges of the rectangle: the right edge lies one past the last
// pixel column.
int EdgeRight(const QRect& rect)
{
    return rect.x() + rect.width();
}

QIcon SwatchIcon(const QColor& color)
{
    QPixmap swatch(kSwatchSize, kSwatchSize);
    swatch.fill(color);
    return QIcon(swatch);
}

} // namespace

CSkinColorBtn::CSkinColorBtn(int id, QWidget* parent) : QAbstractButton(parent), m_palette(DefaultPalette())
{
    SetDlgCtrlID(*this, id);
    setMouseTracking(true);
    QObject::connect(this, &QAbstractButton::clicked, this, [this] { ShowPopup(); });
}

void CSkinColorBtn::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

QColor CSkinColorBtn::ShownColor() const
{
    return m_color.isValid() ? m_color : m_automatic;
}

void CSkinColorBtn::EnableAutomaticButton(const QString& label, const QColor& automatic, bool enable)
{
    m_automaticLabel = label;
    m_automatic = automatic;
    m_automaticEnabled = enable;
}

void CSkinColorBtn::EnableOtherButton(const QString& label)
{
    m_otherLabel = label;
}

void CSkinColorBtn::SetPalette(std::vector<QColor> colors)
{
    m_palette = std::move(colors);
}

void CSkinColorBtn::SetColumnsNumber(int columns)
{
    m_columns = std::max(1, columns);
}

void CSkinColorBtn::ShowPopup()
{
    delete m_popup;
    m_popup = new QMenu(this);
    QObject::connect(m_popup, &QMenu::aboutToHide, this, [this] { update(); });
    if (m_automaticEnabled) {
        m_popup->addAction(SwatchIcon(m_automatic), m_automaticLabel, this, [this] { Pick(QColor()); });
    }
    auto* grid = new QWidgetAction(m_popup);
    grid->setDefaultWidget(MakeSwatchGrid(*m_popup));
    m_popup->addAction(grid);
    if (!m_otherLabel.isEmpty()) {
        m_popup->addAction(m_otherLabel, this, [this] { ChooseOther(); });
    }
    m_popup->popup(mapToGlobal(rect().bottomLeft()));
}

QRect CSkinColorBtn::SwatchRect(const QRect& content)
{
    QRect swatch = content.adjusted(-1, -1, 1, 1);
    swatch.setRight(EdgeRight(swatch) / 2 + 5 - 1);
    return swatch;
}

QRect CSkinColorBtn::DropDownRect(const QRect& content)
{
    QRect dropDown = content.adjusted(-1, -2, 1, 2);
    dropDown.setLeft(EdgeRight(dropDown) / 2 + dropDown.left() + 3);
    return dropDown;
}

void CSkinColorBtn::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    painter.drawPrimitive(QStyle::PE_PanelButtonCommand, option);

    const QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QRect swatch = SwatchRect(content);
    const QColor shown = ShownColor();
    if (shown.isValid() && isEnabled()) {
        painter.fillRect(swatch, shown);
    }
    painter.setPen(kSwatchFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    painter.fillRect(DropDownRect(content), kDropDownFill);
    const QRect grown = content.adjusted(-1, -1, 1, 1);
    const int right = EdgeRight(grown);
    const int middle = grown.height() / 2;
    const QPoint arrow[] = {{right - 11, middle - 2}, {right - 5, middle - 2}, {right - 8, middle + 1}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow, 3);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = content.adjusted(-3, -3, 3, 3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void CSkinColorBtn::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    setDown(false);
    repaint();
}

void CSkinColorBtn::leaveEvent(QEvent* event)
{
    update();
    QAbstractButton::leaveEvent(event);
}

void CSkinColorBtn::Pick(const QColor& color)
{
    if (m_popup != nullptr) {
        m_popup->close();
    }
    SetColor(color);
    NotifyCommand(*this);
}

void CSkinColorBtn::ChooseOther()
{
    const std::optional<QColor> chosen = ActivePrompts().ChooseColor(this, ShownColor());
    if (chosen) {
        Pick(*chosen);
    }
}

QWidget* CSkinColorBtn::MakeSwatchGrid(QMenu& menu)
{
    auto* grid = new QWidget(&menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    for (size_t i = 0; i < m_palette.size(); ++i) {
        auto* swatch = new QToolButton(grid);
        swatch->setIcon(SwatchIcon(m_palette[i]));
        swatch->setAutoRaise(true);
        const QColor color = m_palette[i];
        QObject::connect(swatch, &QToolButton::clicked, this, [this, color] { Pick(color); });
        layout->addWidget(swatch, static_cast<int>(i) / m_columns, static_cast<int>(i) % m_columns);
    }
    return grid;
}

} // namespace tavrix::controls
