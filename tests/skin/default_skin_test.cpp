#include <QImage>
#include <QRect>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bin_folder.h"
#include "controls/bitmap_slider.h"
#include "model/key_code.h"
#include "skin/ini_file.h"
#include "skin/skin_rect.h"
#include "ui_testing.h"

// The default skin as the build writes it beside the executables.
namespace tavrix::skin {
namespace {

std::string SkinFolder()
{
    return BinFolder() + "/Skins/";
}

// The 104 keys of the drawn keyboard, by key code.
const uint16_t kDrawnKeyCodes[] = {
    0x1E,  0x30, 0x2E, 0x20,  0x12,  0x21,  0x22,  0x23,  0x17,  0x24,  0x25,  0x26,  0x32,  0x31,  0x18,
    0x19,  0x10, 0x13, 0x1F,  0x14,  0x16,  0x2F,  0x11,  0x2D,  0x15,  0x2C,  0x02,  0x03,  0x04,  0x05,
    0x06,  0x07, 0x08, 0x09,  0x0A,  0x0B,  0x1C,  0x01,  0x0E,  0x0F,  0x39,  0x0C,  0x0D,  0x1A,  0x1B,
    0x2B,  0x27, 0x28, 0x29,  0x33,  0x34,  0x35,  0x3B,  0x3C,  0x3D,  0x3E,  0x3F,  0x40,  0x41,  0x42,
    0x43,  0x44, 0x57, 0x58,  0x137, 0x45,  0x152, 0x153, 0x147, 0x14F, 0x149, 0x151, 0x148, 0x150, 0x14B,
    0x14D, 0x46, 0x3A, 0x15D, 0x1D,  0x11D, 0x2A,  0x36,  0x38,  0x138, 0x15B, 0x15C, 0x4F,  0x50,  0x51,
    0x4B,  0x4C, 0x4D, 0x47,  0x48,  0x49,  0x52,  0x145, 0x11C, 0x53,  0x135, 0x37,  0x4A,  0x4E,
};

std::vector<std::string> MainButtonKeys()
{
    std::vector<std::string> keys;
    for (int g = 1; g <= 9; ++g) {
        keys.push_back("FUNC_G" + std::to_string(g));
    }
    for (uint16_t code : kDrawnKeyCodes) {
        char key[16];
        std::snprintf(key, sizeof key, "KEY_%03X", static_cast<unsigned>(model::KeyIndexOf(code)));
        keys.push_back(key);
    }
    const char* windowButtons[] = {
        "OSTRIM_LINK",    "FACEBOOK_LINK", "TWITTER_LINK",  "FUNC_PROFILES",    "FUNC_MACRO",    "CONTROL_OK",
        "CONTROL_CANCEL", "CONTROL_HELP",  "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU",  "CONTROL2_APPLY",
        "LOCK_CAPS",      "LOCK_NUM",      "LOCK_SCROLL",   "LOCK_AB",          "FLIP_0",        "FLIP_1",
        "FLIP_2",         "OSTRIM_VER",    "FUNC_PROFILE1", "FUNC_PROFILE2",    "FUNC_PROFILE3", "FUNC_DEFAULT",
        "FUNC_SWITCH",    "FUNC_REPORT1",  "FUNC_REPORT2",  "FUNC_REPORT3",     "FUNC_REPORT4",  "KEY_FN",
        "FUNC_D1",        "FUNC_D2",       "FUNC_D3",       "FUNC_D4",          "FUNC_D5",       "FUNC_D6",
    };
    keys.insert(keys.end(), std::begin(windowButtons), std::end(windowButtons));
    return keys;
}

struct WindowSkin {
    const char* ini;
    std::vector<std::string> buttons;
    std::vector<std::string> controls;
    std::vector<std::string> sheets;
};

std::vector<WindowSkin> Windows()
{
    return {
        {"Main.ini",
         MainButtonKeys(),
         {"LEFT_ARROW",           "RIGHT_ARROW",           "CONTROL_UsbStatic",
          "CONTROL_DengStatic",   "CONTROL_DengStaPic",    "CONTROL_XGcombox",
          "CONTROL_JDTStatic",    "CONTROL_LightStatic",   "CONTROL_LightSlider",
          "CONTROL_SpeedStatic",  "CONTROL_SpeedSlider",   "CONTROL_BLFXStatic",
          "CONTROL_BLFXLStaPic",  "CONTROL_BLFXRStaPic",   "CONTROL_FYYSStatic",
          "CONTROL_FYYSButton",   "CONTROL_FYSJSStaPic",   "CONTROL_FYSJSStatic",
          "CONTROL_FYCFStatic",   "CONTROL_FYdjcfStatic",  "CONTROL_FYggcfStatc",
          "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic",  "CONTROL_HONGPIC",
          "CONTROL_HUANGPIC",     "CONTROL_LVPIC",         "CONTROL_LANPIC",
          "CONTROL_HXysStatic",   "CONTROL_HXysButton",    "CONTROL_HXsjsStatic",
          "CONTROL_HXsjsStaPic",  "CONTROL_LEDsjsStatic",  "CONTROL_LEDsjsStaPic",
          "CONTROL_JTysStatic",   "CONTROL_JTysButton",    "CONTROL_USERysStatic",
          "CONTROL_USERysButton", "CONTROL_USERjsStatic",  "CONTROL_USERjsButton",
          "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2",
          "CONTROL_TSysStatic",   "CONTROL_TSysButton",    "CONTROL_TSsjsStatic",
          "CONTROL_TSsjsStaPic",  "CONTROL_CDysStatic",    "CONTROL_CDysButton",
          "CONTROL_CDsjsStatic",  "CONTROL_CDsjsStaPic",   "CONTROL_umCombo",
          "CONTROL_umStatic",     "CONTROL_BLFXStatic2",   "CONTROL_BLFXLStaPic2",
          "CONTROL_BLFXRStaPic2", "CONTROL_BLFXStatic3",   "CONTROL_BLFXLStaPic3",
          "CONTROL_BLFXRStaPic3"},
         {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"}},
        {"Composite.ini",
         {"CONTROL_MASK",     "CONTROL_TITLE",          "CONTROL_OSK",
          "CONTROL_CLEAR",    "CONTROL_MEDIA",          "CONTROL_MACRO",
          "CONTROL_KEY",      "CONTROL_FUNCTION",       "CONTROL_OK",
          "CONTROL_CANCEL",   "CONTROL2_APPLY",         "FUNC_MACRO_DELETE",
          "FUNC_MACRO_ADD",   "FUNC_MACRO_UP_TOP",      "FUNC_MACRO_UP",
          "FUNC_MACRO_DOWN",  "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2",
          "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD"},
         {"FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_LIST2", "FUNC_MACRO_CYCLES", "FUNC_MACRO_CYCLES_PROMPT",
          "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING", "KEY_SETTING", "MEDIA_SETTING_TISHI",
          "FUNCTION_KEY_SETTING_TISHI", "FUNC_MACRO_RECORD_DELAY2", "FUNC_KEY_INPUT", "FUNC_MEDIA_SELECT",
          "FUNC_MACRO_LIST", "FUNC_FUNCTION_SELECT", "FUNC_KEY_RADIO_KB", "FUNC_KEY_RADIO_KB_STATIC",
          "FUNC_KEY_RADIO_MOU", "FUNC_KEY_RADIO_MOU_STATIC", "FUNC_KEY_COMBO_MOU"},
         {"key_normal.jpg", "key_over.jpg", "key_down.jpg", "macro_normal.jpg", "macro_over.jpg", "macro_down.jpg",
          "macro_disable.jpg", "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg",
          "media_normal.jpg", "media_over.jpg", "media_down.jpg", "function_normal.jpg", "function_over.jpg",
          "function_down.jpg"}},
        {"Profile.ini",
         {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY"},
         {"PROGRAM_LIST"},
         {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}},
        {"UpdateDlg.ini",
         {"CONTROL_CUPButton", "CONTROL_UPButton", "CONTROL_OPENButton", "CONTROL_BACKUPButton"},
         {"CONTROL_UPStatic", "CONTROL_UPCombox"},
         {"update_normal.jpg", "update_over.jpg"}},
    };
}

std::string ScreenValue(const std::string& ini, const std::string& key)
{
    CIniFile file;
    file.SetFileName(SkinFolder() + ini);
    return file.ReadString("SCREEN", key, "").value_or("");
}

QImage Picture(const std::string& name)
{
    return QImage(QString::fromStdString(SkinFolder() + name));
}

QRect RectOf(const std::string& ini, const std::string& section, const std::string& key)
{
    const SkinRect rect = ReadSkinRect(SkinFolder() + ini, section, key);
    return {rect.x, rect.y, rect.w, rect.h};
}

// A button at (x, y) cuts its pictures from (x - 1, y - 1) of its sheets.
QRect SheetAreaOf(const QRect& button)
{
    return button.translated(-1, -1);
}

class DefaultSkinTest : public testing::UiTest {};

TEST_F(DefaultSkinTest, EveryPlacedControlLiesInsideItsWindow)
{
    for (const WindowSkin& window : Windows()) {
        const QImage background = Picture(ScreenValue(window.ini, "Main"));
        ASSERT_FALSE(background.isNull()) << window.ini;
        const QRect client = background.rect();
        for (const std::string& key : window.buttons) {
            const QRect rect = RectOf(window.ini, "BUTTONINFO", key);
            // A button at (1, 1) is what a missing key gives, and is disabled.
            EXPECT_FALSE(rect.topLeft() == QPoint(1, 1)) << window.ini << " " << key;
            EXPECT_TRUE(client.contains(rect)) << window.ini << " " << key;
            EXPECT_TRUE(client.contains(SheetAreaOf(rect))) << window.ini << " " << key;
        }
        for (const std::string& key : window.controls) {
            const QRect rect = RectOf(window.ini, "BUTTONINFO", key);
            EXPECT_FALSE(rect == QRect(1, 1, 1, 1)) << window.ini << " " << key;
            EXPECT_TRUE(client.contains(rect)) << window.ini << " " << key;
        }
        for (const std::string& sheet : window.sheets) {
            EXPECT_EQ(Picture(sheet).size(), client.size()) << sheet;
        }
    }
}

TEST_F(DefaultSkinTest, EveryNamedPictureDecodes)
{
    std::vector<std::string> names = {"Arrow.jpg", "main_color0.jpg", "main_color1.jpg", "main_flip.jpg"};
    for (const WindowSkin& window : Windows()) {
        names.push_back(ScreenValue(window.ini, "Main"));
        names.push_back(ScreenValue(window.ini, "Mask"));
        names.insert(names.end(), window.sheets.begin(), window.sheets.end());
    }
    const char* lighting[] = {"dengup.bmp",    "dengdown.bmp", "leftup.bmp",     "leftdown.bmp", "rightup.bmp",
                              "rightdown.bmp", "kuosan.bmp",   "kuosandown.bmp", "julong.bmp",   "julongdown.bmp",
                              "upup.bmp",      "updown.bmp",   "downup.bmp",     "downdown.bmp", "sjsup.bmp",
                              "sjsdown.bmp",   "user1up.bmp",  "user1down.bmp",  "user2up.bmp",  "user2down.bmp",
                              "hong.bmp",      "hongok.bmp",   "huang.bmp",      "huangok.bmp",  "lv.bmp",
                              "lvok.bmp",      "lan.bmp",      "lanok.bmp",      "ledup.bmp",    "leddown.bmp"};
    names.insert(names.end(), std::begin(lighting), std::end(lighting));
    for (int i = 1; i <= 10; ++i) {
        names.push_back("jdt" + std::to_string(i) + ".bmp");
    }
    for (int i = 0; i <= 25; ++i) {
        names.push_back(std::to_string(i) + ".bmp");
    }
    for (const char* icon : {"../Icons/128.png", "../Icons/141.png", "../Icons/142.png", "../Icons/tavrix.png"}) {
        names.push_back(icon);
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(name.empty());
        EXPECT_FALSE(Picture(name).isNull()) << name;
    }
}

TEST_F(DefaultSkinTest, MasksShapeTheirWindowsWithCutCorners)
{
    for (const WindowSkin& window : Windows()) {
        const QImage mask = Picture(ScreenValue(window.ini, "Mask"));
        ASSERT_EQ(mask.size(), Picture(ScreenValue(window.ini, "Main")).size()) << window.ini;
        const QPoint corners[] = {
            {0, 0}, {mask.width() - 1, 0}, {0, mask.height() - 1}, {mask.width() - 1, mask.height() - 1}};
        for (const QPoint& corner : corners) {
            EXPECT_EQ(mask.pixel(corner), qRgb(255, 255, 255)) << window.ini;
        }
        EXPECT_NE(mask.pixel(mask.rect().center()), qRgb(255, 255, 255)) << window.ini;
    }
}

TEST_F(DefaultSkinTest, MainWindowButtonsDoNotOverlapAndFitASmallScreen)
{
    const std::vector<std::string> keys = MainButtonKeys();
    std::vector<QRect> rects;
    for (const std::string& key : keys) {
        rects.push_back(RectOf("Main.ini", "BUTTONINFO", key));
    }
    for (size_t i = 0; i < rects.size(); ++i) {
        for (size_t j = i + 1; j < rects.size(); ++j) {
            EXPECT_FALSE(rects[i].intersects(rects[j])) << keys[i] << " and " << keys[j];
        }
    }
    const QSize size = Picture(ScreenValue("Main.ini", "Main")).size();
    EXPECT_LE(size.width(), 1366);
    EXPECT_LE(size.height(), 768 - 48);
}

// Every page of the key-assignment dialog lays its controls out on the page area without one
// covering another, and the macro page's action list shows its three 170-pixel columns whole.
TEST_F(DefaultSkinTest, CompositePagesHaveRoomForTheirControls)
{
    const std::vector<std::vector<std::string>> pages = {
        {"TISHI_SINGLE_STATIC", "FUNC_KEY_RADIO_KB", "FUNC_KEY_RADIO_KB_STATIC", "FUNC_KEY_INPUT", "FUNC_KEY_RADIO_MOU",
         "FUNC_KEY_RADIO_MOU_STATIC", "FUNC_KEY_COMBO_MOU"},
        {"MARCO_NAME_SETTING", "FUNC_MACRO_LIST", "FUNC_MACRO_ADD", "FUNC_MACRO_DELETE", "FUNC_MACRO_LIST2",
         "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
         "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_RECORD", "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_RECORD_DELAY2"},
        {"MEDIA_SETTING_TISHI", "FUNC_MEDIA_SELECT"},
        {"FUNCTION_KEY_SETTING_TISHI", "FUNC_FUNCTION_SELECT"},
    };
    const QRect pageArea = RectOf("Composite.ini", "BUTTONINFO", "CONTROL_MASK");
    for (const std::vector<std::string>& page : pages) {
        std::vector<std::string> keys = page;
        keys.push_back("KEY_SETTING");
        for (size_t i = 0; i < keys.size(); ++i) {
            const QRect rect = RectOf("Composite.ini", "BUTTONINFO", keys[i]);
            EXPECT_TRUE(pageArea.contains(rect)) << keys[i];
            for (size_t j = i + 1; j < keys.size(); ++j) {
                EXPECT_FALSE(rect.intersects(RectOf("Composite.ini", "BUTTONINFO", keys[j])))
                    << keys[i] << " and " << keys[j];
            }
        }
    }
    // Three columns, the frame and a scroll bar.
    EXPECT_GE(RectOf("Composite.ini", "BUTTONINFO", "FUNC_MACRO_LIST2").width(), 3 * 170 + 2 + 16);
    const QRect closingRow[] = {RectOf("Composite.ini", "BUTTONINFO", "FUNC_MACRO_CYCLES_PROMPT"),
                                RectOf("Composite.ini", "BUTTONINFO", "FUNC_MACRO_CYCLES"),
                                RectOf("Composite.ini", "BUTTONINFO", "CONTROL2_APPLY")};
    for (const QRect& rect : closingRow) {
        EXPECT_FALSE(rect.intersects(pageArea));
    }
}

TEST_F(DefaultSkinTest, ArrowPicturesLieInsideTheArrowSheet)
{
    const QImage arrows = Picture("Arrow.jpg");
    const QRect arrow = RectOf("Main.ini", "BUTTONINFO", "LEFT_ARROW");
    for (const char* key : {"UP_ARROW_LEFT1", "DOWN_ARROW_LEFT1", "UP_ARROW_RIGHT1", "DOWN_ARROW_RIGHT1"}) {
        const QRect offset = RectOf("Main.ini", "BUTTONINFO2", key);
        EXPECT_FALSE(offset == QRect(1, 1, 1, 1)) << key;
        EXPECT_TRUE(arrows.rect().contains(SheetAreaOf(QRect(offset.topLeft(), arrow.size())))) << key;
    }
}

TEST_F(DefaultSkinTest, SliderPicturesShareOneSizeAndShowEachPositionApart)
{
    const QImage first = Picture("0.bmp");
    for (int i = 0; i <= 25; ++i) {
        EXPECT_EQ(Picture(std::to_string(i) + ".bmp").size(), first.size()) << i;
    }
    for (int a = 0; a <= 4; ++a) {
        for (int b = a + 1; b <= 4; ++b) {
            EXPECT_NE(Picture(std::to_string(a) + ".bmp"), Picture(std::to_string(b) + ".bmp")) << a << " " << b;
        }
    }
    EXPECT_EQ(RectOf("Main.ini", "BUTTONINFO", "CONTROL_LightSlider").size(), first.size());
}

// Mean difference per channel of two pictures over area.
double MeanDifference(const QImage& a, const QImage& b, const QRect& area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            sum += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
        }
    }
    return sum / (3.0 * area.width() * area.height());
}

TEST_F(DefaultSkinTest, EveryKeyLooksDifferentOnEachOfItsSheets)
{
    // A plain difference a person notices at a glance, well above JPEG noise.
    constexpr double kVisible = 6.0;
    const char* sheetNames[] = {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"};
    std::vector<QImage> sheets;
    for (const char* name : sheetNames) {
        sheets.push_back(Picture(name));
    }
    for (const std::string& key : MainButtonKeys()) {
        if (key.rfind("KEY_", 0) != 0 && key.rfind("FUNC_G", 0) != 0)
            continue;
        const QRect area = SheetAreaOf(RectOf("Main.ini", "BUTTONINFO", key));
        for (size_t a = 0; a < sheets.size(); ++a) {
            for (size_t b = a + 1; b < sheets.size(); ++b) {
                EXPECT_GT(MeanDifference(sheets[a], sheets[b], area), kVisible)
                    << key << ": " << sheetNames[a] << " and " << sheetNames[b];
            }
        }
    }
}

TEST_F(DefaultSkinTest, SwappedTopRowAndTheStatePicturesAreToldApart)
{
    constexpr double kVisible = 6.0;
    const QImage normal = Picture("main_normal.jpg");
    const QImage swapped = Picture("main_flip.jpg");
    const QImage disabled = Picture("main_disable.jpg");
    // The swap caption and F1 to F4 change with the swap; D1 to D6 are greyed until it.
    for (const char* key : {"FLIP_0", "KEY_03B", "KEY_03C", "KEY_03D", "KEY_03E"}) {
        EXPECT_GT(MeanDifference(normal, swapped, SheetAreaOf(RectOf("Main.ini", "BUTTONINFO", key))), kVisible) << key;
    }
    EXPECT_LT(MeanDifference(normal, swapped, SheetAreaOf(RectOf("Main.ini", "BUTTONINFO", "KEY_03F"))), 1.0)
        << "F5 stays";
    for (int d = 1; d <= 6; ++d) {
        const QRect area = SheetAreaOf(RectOf("Main.ini", "BUTTONINFO", "FUNC_D" + std::to_string(d)));
        EXPECT_GE(area.width(), 24) << d;
        EXPECT_GT(MeanDifference(normal, disabled, area), kVisible) << "D" << d;
    }
    const struct {
        const char* a;
        const char* b;
    } pairs[] = {{"../Icons/141.png", "../Icons/142.png"},
                 {"../Icons/128.png", "../Icons/141.png"},
                 {"sjsup.bmp", "ledup.bmp"},
                 {"sjsdown.bmp", "leddown.bmp"}};
    for (const auto& pair : pairs) {
        // Compared at tray size, where a person has to tell them apart.
        const QImage a = Picture(pair.a).scaled(22, 22, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage b = Picture(pair.b).scaled(22, 22, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(
            MeanDifference(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32), a.rect()),
            2 * kVisible)
            << pair.a << " and " << pair.b;
    }
}

// The middle of the white knob on the slider's track row.
int KnobCentre(const QImage& picture, int trackRow)
{
    int sum = 0;
    int count = 0;
    for (int x = 0; x < picture.width(); ++x) {
        const QColor color = picture.pixelColor(x, trackRow);
        if (color.red() > 240 && color.green() > 240 && color.blue() > 240) {
            sum += x;
            ++count;
        }
    }
    return count == 0 ? -1 : sum / count;
}

TEST_F(DefaultSkinTest, ClickingTheKnobOfEachSliderPictureGivesItsPosition)
{
    constexpr int kTrackRow = 10;
    for (int position = 0; position <= 4; ++position) {
        const QImage picture = Picture(std::to_string(position) + ".bmp");
        const int knob = KnobCentre(picture, kTrackRow);
        ASSERT_GE(knob, 0) << position;
        const controls::SliderScale scale{0, 4, picture.width()};
        EXPECT_EQ(scale.PositionOf(knob), position) << "knob at " << knob;
    }
}

} // namespace
} // namespace tavrix::skin
