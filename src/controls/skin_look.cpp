#include "controls/skin_look.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QToolTip>

namespace tavrix::controls {

namespace {

// The default skin's colours.
const QColor kWindow(30, 31, 36);
const QColor kBase(20, 22, 26);
const QColor kAlternateBase(27, 29, 34);
const QColor kButton(42, 45, 52);
const QColor kText(222, 225, 231);
const QColor kMuted(128, 133, 144);
const QColor kAccent(255, 130, 0);
const QColor kOnAccent(16, 16, 16);

QPalette SkinPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, kWindow);
    palette.setColor(QPalette::WindowText, kText);
    palette.setColor(QPalette::Base, kBase);
    palette.setColor(QPalette::AlternateBase, kAlternateBase);
    palette.setColor(QPalette::ToolTipBase, kWindow);
    palette.setColor(QPalette::ToolTipText, kText);
    palette.setColor(QPalette::PlaceholderText, kMuted);
    palette.setColor(QPalette::Text, kText);
    palette.setColor(QPalette::Button, kButton);
    palette.setColor(QPalette::ButtonText, kText);
    palette.setColor(QPalette::BrightText, kAccent);
    palette.setColor(QPalette::Highlight, kAccent);
    palette.setColor(QPalette::HighlightedText, kOnAccent);
    palette.setColor(QPalette::Link, kAccent);
    palette.setColor(QPalette::LinkVisited, kAccent.darker(120));
    palette.setColor(QPalette::Light, kButton.lighter(150));
    palette.setColor(QPalette::Midlight, kButton.lighter(120));
    palette.setColor(QPalette::Mid, kButton.darker(120));
    palette.setColor(QPalette::Dark, kBase.darker(150));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, kMuted);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, kButton);
    return palette;
}

} // namespace

void ApplySkinLook()
{
    // Fusion draws every control from the palette, so the dark colours hold on any desktop.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QApplication::setPalette(SkinPalette());
    QToolTip::setPalette(SkinPalette());
}

} // namespace tavrix::controls
