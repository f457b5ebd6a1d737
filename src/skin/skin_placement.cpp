#include "skin/skin_placement.h"

#include <QWidget>

#include "skin/skin_rect.h"

namespace tavrix::skin {

namespace {

QRect ToQRect(const SkinRect& rect)
{
    return QRect(rect.x, rect.y, rect.w, rect.h);
}

} // namespace

void PlaceSkinButton(controls::CPngButton& button, const std::string& iniPath, const std::string& section,
                     const std::string& key, const controls::ButtonSheets& sheets)
{
    const SkinRect rect = ReadSkinRect(iniPath, section, key);
    button.setGeometry(ToQRect(rect));
    button.SetSkin(rect.x, rect.y, sheets);
    // (1, 1) is where a missing key puts a button: a skin without this button.
    if (rect.x == 1 && rect.y == 1) {
        button.setEnabled(false);
    }
}

void PlaceSkinControl(QWidget& control, const std::string& iniPath, const std::string& section, const std::string& key)
{
    control.setGeometry(ToQRect(ReadSkinRect(iniPath, section, key)));
}

void PlaceSkinArrow(controls::CPngButton& button, const std::string& iniPath, const std::string& placeSection,
                    const std::string& placeKey, const std::string& imageSection, const std::string& imageKey,
                    const QPixmap* sheet)
{
    button.setGeometry(ToQRect(ReadSkinRect(iniPath, placeSection, placeKey)));
    const SkinRect image = ReadSkinRect(iniPath, imageSection, imageKey);
    button.SetSkin(image.x, image.y, {sheet, sheet, sheet, sheet, sheet});
}

void MoveSkinControl(QWidget& control, const std::string& iniPath, const std::string& section, const std::string& key)
{
    const SkinRect rect = ReadSkinRect(iniPath, section, key);
    control.move(rect.x, rect.y);
    control.update();
}

} // namespace tavrix::skin
