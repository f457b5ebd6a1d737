#include <QPainter>

#include "paint_kit.h"
#include "skin_output.h"

namespace tavrix::skingen {

namespace {

constexpr int kDialogTitleHeight = 46;

enum class Page { Key, Macro, Media, Function };

// One picture set of the composite dialog: the page its mask shows, and whether it is the set the
// dialog gives the title, clear and page buttons when it edits macros only.
struct CompositeSet {
    const char* prefix;
    Page page;
    bool macroOnly;
    bool hasDisable;
};

const CompositeSet kCompositeSets[] = {
    {"key", Page::Key, false, false},           {"macro", Page::Macro, false, true},
    {"macro2", Page::Macro, true, true},        {"media", Page::Media, false, false},
    {"function", Page::Function, false, false},
};

void PaintWell(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(12, 13, 15), 1));
    painter.setBrush(QColor(19, 21, 25));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    painter.restore();
}

void PaintFaintGlyphs(QPainter& painter, const QRectF& area, const QStringList& glyphs)
{
    const qreal side = 34;
    qreal x = area.right() - glyphs.size() * (side + 14);
    for (const QString& glyph : glyphs) {
        PaintGlyph(painter, QRectF(x, area.bottom() - side - 14, side, side), glyph, QColor(52, 56, 64));
        x += side + 14;
    }
}

// The page picture: what the mask button shows behind the page's own controls.
void PaintPage(QPainter& painter, const WindowLayout& layout, const SkinItem& mask, Page page)
{
    PaintCard(painter, mask.rect, colors::kPanel, 6);
    auto rectOf = [&](const char* key) { return QRectF(FindItem(layout, key)->rect); };
    switch (page) {
    case Page::Key:
        PaintWell(painter, rectOf("FUNC_KEY_INPUT").adjusted(-2, -2, 2, 2));
        PaintFaintGlyphs(painter, mask.rect, {QStringLiteral("keyboard")});
        break;
    case Page::Macro:
        PaintWell(painter, rectOf("FUNC_MACRO_LIST").adjusted(-2, -2, 2, 2));
        PaintWell(painter, rectOf("FUNC_MACRO_LIST2").adjusted(-2, -2, 2, 2));
        break;
    case Page::Media:
        PaintWell(painter, rectOf("FUNC_MEDIA_SELECT").adjusted(-2, -2, 2, 2));
        PaintFaintGlyphs(
            painter, mask.rect,
            {QStringLiteral("previous"), QStringLiteral("play"), QStringLiteral("next"), QStringLiteral("volume")});
        break;
    case Page::Function:
        PaintWell(painter, rectOf("FUNC_FUNCTION_SELECT").adjusted(-2, -2, 2, 2));
        PaintFaintGlyphs(painter, mask.rect, {QStringLiteral("keyboard"), QStringLiteral("menu")});
        break;
    }
}

void PaintTitle(QPainter& painter, const SkinItem& item, bool macroOnly)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::kAccent);
    painter.drawRect(QRectF(item.rect.left() + 2, item.rect.top() + 7, 4, item.rect.height() - 14));
    painter.setPen(Qt::white);
    painter.setFont(UiFont(15, QFont::Bold));
    painter.drawText(item.rect.adjusted(14, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     macroOnly ? item.text2 : item.text);
    painter.restore();
}

// The dialog as it shows with set's page and every button on sheet. The macro page's buttons
// show on the macro sets only. In the macro-only set the key, media and function tabs are blank:
// the dialog disables them and clears their captions.
QImage CompositeScene(const WindowLayout& layout, const CompositeSet& set, Sheet sheet)
{
    QImage scene(layout.size, QImage::Format_RGB32);
    QPainter painter(&scene);
    PaintWindowBody(painter, layout.size, kDialogTitleHeight);
    for (const SkinItem& item : layout.items) {
        const bool blankTab = set.macroOnly && item.look == Look::Tab && item.key != "CONTROL_MACRO";
        const bool otherPage = item.key.startsWith("FUNC_MACRO_") && set.page != Page::Macro;
        if (item.look == Look::Page)
            PaintPage(painter, layout, item, set.page);
        else if (item.look == Look::Title)
            PaintTitle(painter, item, set.macroOnly);
        else if (!blankTab && !otherPage)
            PaintItem(painter, item, sheet);
    }
    return scene;
}

// A plain dialog with a title and its buttons on sheet; the program writes their captions. With
// sunkenDown the down sheet, which the window also takes as its disabled look, shows the buttons
// sunken rather than lit.
QImage DialogScene(const WindowLayout& layout, const QString& title, Sheet sheet, bool sunkenDown = false)
{
    QImage scene(layout.size, QImage::Format_RGB32);
    QPainter painter(&scene);
    PaintWindowBody(painter, layout.size, kDialogTitleHeight - 6);
    PaintTitle(painter, SkinItem{{}, QRect(18, 6, 300, 28), Look::Title, title, {}}, false);
    for (const SkinItem& item : layout.items) {
        if (item.key == "PROGRAM_LIST" || item.key == "CONTROL_UPStatic")
            PaintWell(painter, QRectF(item.rect).adjusted(-2, -2, 2, 2));
        if (sunkenDown && sheet == Sheet::Down && item.look == Look::Push)
            PaintButton(painter, item.rect, Appearance::Sunken);
        else
            PaintItem(painter, item, sheet);
    }
    return scene;
}

} // namespace

void WriteCompositeSkin(SkinOutput& output)
{
    const WindowLayout layout = CompositeLayout();
    const std::pair<Sheet, const char*> sheets[] = {
        {Sheet::Normal, "normal"}, {Sheet::Over, "over"}, {Sheet::Down, "down"}, {Sheet::Disable, "disable"}};
    for (const CompositeSet& set : kCompositeSets) {
        for (const auto& [sheet, suffix] : sheets) {
            if (sheet == Sheet::Disable && !set.hasDisable)
                continue;
            output.Save(QStringLiteral("%1_%2.jpg").arg(set.prefix, suffix),
                        SheetFromScene(CompositeScene(layout, set, sheet)));
        }
    }
    output.Save("composite_bg.png", CompositeScene(layout, kCompositeSets[0], Sheet::Normal));
    output.Save("composite_mask.png", MaskPicture(layout.size));
    output.WriteIni(layout, {{"Main", "composite_bg.png"}, {"Mask", "composite_mask.png"}});
}

void WriteProfileSkin(SkinOutput& output)
{
    const WindowLayout layout = ProfileLayout();
    const QString title = QStringLiteral("Profiles");
    output.Save("Profile_normal.jpg", SheetFromScene(DialogScene(layout, title, Sheet::Normal)));
    output.Save("Profile_over.jpg", SheetFromScene(DialogScene(layout, title, Sheet::Over)));
    output.Save("Profile_down.jpg", SheetFromScene(DialogScene(layout, title, Sheet::Down, true)));
    output.Save("profile_bg.png", DialogScene(layout, title, Sheet::Normal));
    output.Save("profile_mask.png", MaskPicture(layout.size));
    output.WriteIni(layout, {{"Main", "profile_bg.png"}, {"Mask", "profile_mask.png"}});
}

void WriteUpdateSkin(SkinOutput& output)
{
    const WindowLayout layout = UpdateLayout();
    const QString title = QStringLiteral("Firmware update");
    output.Save("update_normal.jpg", SheetFromScene(DialogScene(layout, title, Sheet::Normal)));
    output.Save("update_over.jpg", SheetFromScene(DialogScene(layout, title, Sheet::Over)));
    output.Save("update_bg.png", DialogScene(layout, title, Sheet::Normal));
    output.Save("update_mask.png", MaskPicture(layout.size));
    output.WriteIni(layout, {{"Main", "update_bg.png"}, {"Mask", "update_mask.png"}});
}

} // namespace tavrix::skingen
