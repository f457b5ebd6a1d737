#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>
#include <vector>

class QMenu;

// A colour picker button: a swatch and a drop-down arrow on its face, a pop-up palette with an
// optional "automatic" entry and an "other" entry opening the full colour dialog. A pick changes
// the colour and tells the window through OnCommand(id).
namespace tavrix::controls {

class CSkinColorBtn : public QAbstractButton {
public:
    CSkinColorBtn(int id, QWidget* parent);

    // An invalid colour stands for the automatic colour.
    void SetColor(const QColor& color);
    [[nodiscard]] QColor GetColor() const { return m_color; }
    [[nodiscard]] QColor ShownColor() const;
    void EnableAutomaticButton(const QString& label, const QColor& automatic, bool enable = true);
    void EnableOtherButton(const QString& label);
    void SetPalette(std::vector<QColor> colors);
    void SetColumnsNumber(int columns);

    // Opens the pop-up under the button without waiting for it.
    void ShowPopup();
    // The open pop-up, or nullptr.
    [[nodiscard]] QMenu* Popup() const { return m_popup; }

    // The face's parts within the button's content rectangle.
    [[nodiscard]] static QRect SwatchRect(const QRect& content);
    [[nodiscard]] static QRect DropDownRect(const QRect& content);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Pick(const QColor& color);
    void ChooseOther();
    QWidget* MakeSwatchGrid(QMenu& menu);

    QColor m_color;
    QColor m_automatic;
    QString m_automaticLabel;
    bool m_automaticEnabled = false;
    QString m_otherLabel;
    std::vector<QColor> m_palette;
    int m_columns = 8;
    QMenu* m_popup = nullptr;
};

} // namespace tavrix::controls
