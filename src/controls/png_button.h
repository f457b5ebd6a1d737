#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <functional>

// The one button of the skinned windows: it has no pictures of its own but cuts them from its
// window's state sheets at its sheet offset, by its state, and may write its caption over them.
// To its window it is a push button: a click arrives as OnCommand(id).
namespace tavrix::controls {

// Caption format bits, with the values the windows pass.
namespace TextFormat {
inline constexpr unsigned Center = 0x01;
inline constexpr unsigned Right = 0x02;
inline constexpr unsigned VCenter = 0x04;
inline constexpr unsigned Bottom = 0x08;
inline constexpr unsigned WordBreak = 0x10;
inline constexpr unsigned SingleLine = 0x20;
} // namespace TextFormat

// The window's sheets a button cuts its picture from, one per state.
struct ButtonSheets {
    const QPixmap* normal = nullptr;
    const QPixmap* over = nullptr;
    const QPixmap* down = nullptr;
    const QPixmap* disabled = nullptr;
    const QPixmap* selected = nullptr;
};

struct CaptionColors {
    QColor normal{0, 0, 0};
    QColor over{0, 0, 0};
    QColor down{0, 0, 0};
    QColor disabled{0, 0, 0};
    QColor selected{0, 0, 0};
};

class CPngButton : public QAbstractButton {
public:
    // Called after each draw with the button, the painter and whether the normal sheet was used.
    using DrawCallback = std::function<void(CPngButton& button, QPainter& painter, bool normalSheet)>;

    static constexpr int kNormalWeight = 400;
    static constexpr int kRotatedWeight = 956;

    CPngButton(int id, QWidget* parent);
    ~CPngButton() override;

    // Sheets are the window's; the button only refers to them and they must outlive it.
    void SetSkin(int x, int y, const ButtonSheets& sheets);
    void SetSheets(const ButtonSheets& sheets);
    void SetCheckSheets(const QPixmap* checkOff, const QPixmap* checkOn, bool checkMode, bool checkState);
    void SetSelected(bool selected, bool drawNow);
    void SetTextStyle(bool captionOn, int pointSize, const QString& faceName, const CaptionColors& colors,
                      unsigned format);
    void SetTextRotation(int escapement, bool rotated);
    void SetFrame(const QColor& frameColor, bool frameMode);
    void SetDrawCallback(DrawCallback callback);
    void SetTooltipText(const QString& text, bool activate);

    [[nodiscard]] QPoint SheetOffset() const { return {m_sheetX, m_sheetY}; }
    [[nodiscard]] bool IsSelected() const { return m_selected; }
    [[nodiscard]] bool IsFramed() const { return m_frameMode; }
    [[nodiscard]] QColor FrameColor() const { return m_frameColor; }
    [[nodiscard]] bool IsHovered() const { return m_hover; }
    // The sheet chosen by the latest draw.
    [[nodiscard]] const QPixmap* LastDrawnSheet() const { return m_lastSheet; }
    // The sheet and caption colour the button's state calls for now.
    [[nodiscard]] const QPixmap* ChosenSheet() const;
    [[nodiscard]] QColor ChosenColor() const;
    // The caption font as drawn: pixel height from the screen's DPI, weight by rotation.
    [[nodiscard]] QFont CaptionFont() const;
    // Whether a tooltip was ever set up; an empty text never sets one up.
    [[nodiscard]] bool HasTooltipWindow() const { return m_tooltipCreated; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The state a draw shows, in the order the states win: disabled, check mode, down, hover,
    // selected, normal.
    enum class Look { Disabled, Check, Down, Over, Selected, Normal };

    [[nodiscard]] Look CurrentLook() const;
    void ClearMouseState();
    void OnHover();
    void ShowTooltip();

    ButtonSheets m_sheets;
    const QPixmap* m_checkOff = nullptr;
    const QPixmap* m_checkOn = nullptr;
    const QPixmap* m_lastSheet = nullptr;
    bool m_hover = false;
    bool m_selected = false;
    bool m_checkMode = false;
    bool m_checkState = false;
    int m_sheetX = 0;
    int m_sheetY = 0;
    bool m_captionOn = false;
    int m_pointSize = 8;
    QString m_faceName = QStringLiteral("Tahoma Unicode MS");
    CaptionColors m_colors;
    unsigned m_format = TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine;
    int m_escapement = 0;
    bool m_rotated = false;
    DrawCallback m_drawCallback;
    QString m_tooltipText;
    bool m_tooltipCreated = false;
    bool m_tooltipActive = false;
    QTimer m_tooltipTimer;
    bool m_frameMode = false;
    QColor m_frameColor;
};

} // namespace tavrix::controls
