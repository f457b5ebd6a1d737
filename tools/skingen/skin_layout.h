#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// The one description of the default skin: every window's size and every skinned control's
// rectangle with the way it is drawn. The skin files and the pictures are both made from it, so
// a rectangle and its picture cannot drift apart.
namespace tavrix::skingen {

// The four pictures a window's buttons cut their states from.
enum class Sheet { Normal, Over, Down, Disable };

// How a control is drawn on the sheets; None is placed only (labels, lists, hidden controls),
// its window paints nothing for it.
enum class Look {
    None,
    Key,     // keycap: rest, hover, pressed, assigned (the disable sheet)
    GKey,    // macro key: as Key, with its G number
    DKey,    // top-row swap key D1 to D6: as Key, greyed on the disable sheet
    Choice,  // selectable button: rest, hover, chosen (down and disable sheets)
    Push,    // button with a caption the program draws: rest, hover, pressed, greyed
    Icon,    // glyph button: rest, hover, pressed, greyed
    Link,    // web link glyph: rest, hover, pressed (also the disable sheet)
    Close,   // title bar close glyph, turns red under the pointer
    Lamp,    // lock lamp, the same on every sheet
    Bank,    // G-key bank indicator: bank A on the normal sheet, bank B on the over sheet
    Caption, // a static word, the same on every sheet
    Tab,     // page button: rest, hover, shown page (the down sheet), greyed
    Slanted, // button whose caption the program turns: a tile striped at the caption's angle
    Title,   // dialog title, the same on every sheet
    Page,    // the page picture of the composite dialog, the same on every sheet of a set
};

struct SkinItem {
    QString key;
    QRect rect;
    Look look = Look::None;
    // Legend, caption or glyph name, by look.
    QString text;
    // Second legend (a key's shifted symbol or sub-legend).
    QString text2;
};

struct WindowLayout {
    QString iniName;
    QSize size;
    std::vector<SkinItem> items;
    // BUTTONINFO2: where pictures lie in a picture of their own (the main window's arrows).
    std::vector<SkinItem> imageOffsets;
};

[[nodiscard]] WindowLayout MainLayout();
[[nodiscard]] WindowLayout CompositeLayout();
[[nodiscard]] WindowLayout ProfileLayout();
[[nodiscard]] WindowLayout UpdateLayout();

// The item under key; nullptr when the layout has none.
[[nodiscard]] const SkinItem* FindItem(const WindowLayout& layout, const QString& key);

// Sizes the lighting pictures are drawn at; the panel's rectangles use the same.
inline constexpr QSize kSliderSize{176, 30};
inline constexpr QSize kTogglePictureSize{48, 24};
inline constexpr QSize kDirectionPictureSize{72, 28};
inline constexpr QSize kToolPictureSize{72, 28};
inline constexpr QSize kAllLampsPictureSize{28, 24};
inline constexpr QSize kProgressSize{200, 14};
inline constexpr QSize kPalettePictureSize{24, 24};
inline constexpr QSize kArrowSize{14, 24};

// The main window's cards behind its controls and the rule above its closing row.
inline constexpr QRect kMainPlate{18, 110, 1018, 318};
inline constexpr QRect kMainPanel{1050, 62, 212, 366};
inline constexpr int kMainClosingRuleY = 442;

} // namespace tavrix::skingen
