#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTextStream>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "controls/bitmap_slider.h"
#include "controls/caption_style.h"
#include "controls/png_button.h"
#include "skin/base_dialog.h"
#include "skin/ini_file.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"

// Grabs the default skin as a user sees it: the real skinned window base, image buttons placed
// from the skin files and cut from the sheets, in a few typical states, onto PNG files.
namespace tavrix::skinshot {

namespace {

const QColor kDesk(58, 66, 82);

// The keys of a section, in file order.
std::vector<std::string> SectionKeys(const std::string& iniPath, const QString& section)
{
    std::vector<std::string> keys;
    QFile file(QString::fromStdString(iniPath));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inside = false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('[')) {
            inside = line.compare('[' + section + ']', Qt::CaseInsensitive) == 0;
        } else if (inside && line.contains('=')) {
            keys.push_back(line.section('=', 0, 0).trimmed().toStdString());
        }
    }
    return keys;
}

// A skinned window of the default skin with its image buttons, nothing else of the program.
class ShotWindow : public skin::CBaseDialog {
public:
    ShotWindow(const std::string& exeFolder, const std::string& iniName, std::vector<std::string> sheetFiles)
        : CBaseDialog(0, nullptr, exeFolder + "Skins/" + iniName, exeFolder + "Skins/"), m_exeFolder(exeFolder),
          m_sheetFiles(std::move(sheetFiles))
    {
    }

    // Letters pick the sheets for normal, over, down, disabled and selected: N, O, D, X.
    controls::CPngButton& AddButton(const std::string& key, const char* picks)
    {
        auto& button = m_buttons[key];
        button = std::make_unique<controls::CPngButton>(static_cast<int>(m_buttons.size()), this);
        const QPixmap* sheets[5];
        for (int i = 0; i < 5; ++i) {
            sheets[i] = &m_sheets[std::string("NODX").find(picks[i])];
        }
        skin::PlaceSkinButton(*button, SkinIniPath(), "BUTTONINFO", key,
                              {sheets[0], sheets[1], sheets[2], sheets[3], sheets[4]});
        return *button;
    }

    controls::CPngButton& Button(const std::string& key) { return *m_buttons.at(key); }

    template <typename Control> Control& AddControl(const std::string& key)
    {
        auto* control = new Control(this);
        skin::PlaceSkinControl(*control, SkinIniPath(), "BUTTONINFO", key);
        return *control;
    }

    QPixmap Picture(const std::string& name) const
    {
        return QPixmap::fromImage(skin::LoadSkinImage(m_exeFolder, "Skins\\" + name));
    }

    bool Init() { return OnInitDialog(); }

    // The window on a plain desk, cut to its mask as the screen shows it.
    bool Save(const QString& path)
    {
        QApplication::processEvents();
        const QPixmap window = grab();
        QImage shot(window.size() + QSize(32, 32), QImage::Format_RGB32);
        shot.fill(kDesk);
        QPainter painter(&shot);
        painter.translate(16, 16);
        painter.setClipRegion(mask().isEmpty() ? QRegion(window.rect()) : mask());
        painter.drawPixmap(0, 0, window);
        painter.end();
        const bool saved = shot.save(path, "PNG");
        std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
        return saved;
    }

protected:
    bool OnInitDialog() override
    {
        CBaseDialog::OnInitDialog();
        m_sheets.resize(m_sheetFiles.size());
        for (size_t i = 0; i < m_sheetFiles.size(); ++i) {
            skin::MakeStateSheet(m_sheets[i], skin::LoadSkinImage(m_exeFolder, "Skins\\" + m_sheetFiles[i]), *this);
        }
        return true;
    }

private:
    std::string m_exeFolder;
    std::vector<std::string> m_sheetFiles;
    std::vector<QPixmap> m_sheets;
    std::map<std::string, std::unique_ptr<controls::CPngButton>> m_buttons;
};

QString LangText(const std::string& exeFolder, const char* section, const char* key)
{
    skin::CIniFile file;
    file.SetFileName(exeFolder + "Lang0409.ini");
    return QString::fromStdString(file.ReadString(section, key, key).value_or(key));
}

void Hover(QWidget& widget)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), widget.mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(&widget, &enter);
}

void Unhover(QWidget& widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

const char* MainPicks(const std::string& key)
{
    if (key.rfind("FUNC_PROFILE", 0) == 0 && key != "FUNC_PROFILES")
        return "NODND";
    if (key.rfind("KEY_", 0) == 0 || key.rfind("FUNC_G", 0) == 0 || key.rfind("FUNC_REPORT", 0) == 0)
        return "NODNX";
    if (key == "CONTROL2_APPLY")
        return "NODXN";
    if (key.find("_LINK") != std::string::npos)
        return "NOXNN";
    if (key.rfind("LOCK_", 0) == 0 || key == "FLIP_0")
        return "NNNNN";
    return "NODNN";
}

bool IsMainButton(const std::string& key)
{
    static const std::vector<std::string> windowButtons = {"CONTROL_OK",      "CONTROL_CANCEL", "CONTROL_HELP",
                                                           "CONTROL_CLOSE",   "CONTROL_MENU",   "CONTROL2_APPLY",
                                                           "CONTROL_MINIMIZE"};
    if (key.rfind("CONTROL", 0) == 0)
        return std::find(windowButtons.begin(), windowButtons.end(), key) != windowButtons.end();
    return key != "LEFT_ARROW" && key != "RIGHT_ARROW" && key != "FUNC_SWITCH" && key != "OSTRIM_VER";
}

// The lighting panel switched on with a directional effect, as the program shows it.
void AddLightingPanel(ShotWindow& window, const std::string& exeFolder)
{
    const QString labelStyle = QStringLiteral("color: rgb(228,228,228); background: transparent;");
    auto label = [&](const char* key, const char* text) {
        auto& control = window.AddControl<QLabel>(key);
        control.setText(LangText(exeFolder, "LIGHT", text));
        control.setStyleSheet(labelStyle);
    };
    auto picture = [&](const char* key, const char* file) {
        window.AddControl<QLabel>(key).setPixmap(window.Picture(file));
    };
    label("CONTROL_UsbStatic", "Usb");
    label("CONTROL_DengStatic", "Deng");
    picture("CONTROL_DengStaPic", "dengdown.bmp");
    auto& effects = window.AddControl<QComboBox>("CONTROL_XGcombox");
    effects.addItem(LangText(exeFolder, "MODE", "1"));
    label("CONTROL_LightStatic", "Light");
    label("CONTROL_SpeedStatic", "Speed");
    label("CONTROL_BLFXStatic", "FX");
    picture("CONTROL_BLFXLStaPic", "leftdown.bmp");
    picture("CONTROL_BLFXRStaPic", "rightup.bmp");
    const struct {
        const char* key;
        int position;
    } sliders[] = {{"CONTROL_LightSlider", 3}, {"CONTROL_SpeedSlider", 1}};
    for (const auto& s : sliders) {
        auto* slider = new controls::CBitmapSlider(0, &window);
        skin::PlaceSkinControl(*slider, window.SkinIniPath(), "BUTTONINFO", s.key);
        const QPixmap picture = window.Picture(std::to_string(s.position) + ".bmp");
        slider->InitSliderPicture(picture);
        slider->SetSliderPicture(picture);
        slider->SetSliderRange(0, 4);
        slider->SetSliderPos(s.position);
    }
}

void ShootMain(const std::string& exeFolder, const QString& out)
{
    ShotWindow window(exeFolder, "Main.ini", {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg"});
    window.Init();
    for (const std::string& key : SectionKeys(window.SkinIniPath(), "BUTTONINFO")) {
        if (IsMainButton(key))
            window.AddButton(key, MainPicks(key));
    }
    for (const char* key : {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "FLIP_0"}) {
        window.Button(key).setEnabled(false);
    }
    const std::pair<const char*, const char*> captions[] = {
        {"FUNC_PROFILE1", "PROFILE_1"},
        {"FUNC_PROFILE2", "PROFILE_2"},
        {"FUNC_PROFILE3", "PROFILE_3"},
        {"FUNC_MACRO", "PROFILE_MACRO"},
        {"FUNC_DEFAULT", "PROFILE_DEFAULT"},
        {"CONTROL_OK", "PROFILE_OK"},
        {"CONTROL_CANCEL", "PROFILE_CANCLE"},
        {"CONTROL2_APPLY", "PROFILE_APPLY"},
        {"FUNC_PROFILES", "DEFAULT_PROFILE_NAME"},
    };
    for (const auto& [key, text] : captions) {
        auto& button = window.Button(key);
        button.setText(LangText(exeFolder, "TEXT", text));
        button.SetTextStyle(true, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                            controls::kCentredCaption);
    }
    // The profile file button's caption rises at an angle from its bottom left.
    auto& profiles = window.Button("FUNC_PROFILES");
    profiles.SetTextStyle(true, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                          controls::TextFormat::Bottom | controls::TextFormat::SingleLine);
    profiles.SetTextRotation(268, true);
    for (int g = 1; g <= 5; ++g) {
        auto& button = window.Button("FUNC_G" + std::to_string(g));
        button.setText(QStringLiteral("A%1").arg(g));
        button.SetTextStyle(true, 9, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                            controls::kCentredCaption);
    }
    window.Button("FUNC_PROFILE1").SetSelected(true, true);
    window.Button("FUNC_REPORT1").SetSelected(true, true);
    window.Button("CONTROL2_APPLY").setEnabled(false);
    AddLightingPanel(window, exeFolder);
    window.show();

    window.Save(out + "/main_normal.png");
    Hover(window.Button("KEY_022"));
    Hover(window.Button("FUNC_PROFILE2"));
    window.Save(out + "/main_hover.png");
    Unhover(window.Button("KEY_022"));
    Unhover(window.Button("FUNC_PROFILE2"));
    for (const char* key : {"KEY_011", "KEY_01E", "KEY_01F", "KEY_020", "KEY_03F", "FUNC_G1", "FUNC_G3"}) {
        window.Button(key).SetSelected(true, true);
    }
    window.Button("KEY_021").setDown(true);
    window.Button("CONTROL2_APPLY").setEnabled(true);
    Hover(window.Button("CONTROL2_APPLY"));
    window.Save(out + "/main_assigned.png");
}

// The key-assignment dialog on its key page or its macro page, with its labels and fields.
void ShootComposite(const std::string& exeFolder, const QString& out, bool macroPage)
{
    const std::string set = macroPage ? "macro" : "key";
    ShotWindow window(exeFolder, "Composite.ini",
                      {set + "_normal.jpg", set + "_over.jpg", set + "_down.jpg",
                       set + (macroPage ? "_disable.jpg" : "_normal.jpg")});
    window.Init();
    window.AddButton("CONTROL_MASK", "NODXN");
    const std::pair<const char*, const char*> buttons[] = {
        {"CONTROL_TITLE", ""},
        {"CONTROL_OSK", ""},
        {"CONTROL_CLEAR", ""},
        {"CONTROL_KEY", "SINGLE_KEY"},
        {"CONTROL_MACRO", "MACRO_SETTING"},
        {"CONTROL_MEDIA", "MULTI_MEDIA"},
        {"CONTROL_FUNCTION", "FUNCTION_KEY"},
        {"CONTROL_OK", "MACRO_OK"},
        {"CONTROL_CANCEL", "MACRO_CANCLE"},
    };
    for (const auto& [key, text] : buttons) {
        auto& button = window.AddButton(key, "NODXD");
        if (*text == 0)
            continue;
        button.setText(LangText(exeFolder, "TEXT", text));
        button.SetTextStyle(true, 9, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                            controls::kCentredCaption);
    }
    window.Button(macroPage ? "CONTROL_MACRO" : "CONTROL_KEY").SetSelected(true, true);
    const QString labelStyle = QStringLiteral("color: rgb(228,228,228); background: transparent;");
    auto label = [&](const char* key, const char* text) {
        auto& control = window.AddControl<QLabel>(key);
        control.setText(LangText(exeFolder, "TEXT", text));
        control.setStyleSheet(labelStyle);
    };
    label("KEY_SETTING", macroPage ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI");
    label("FUNC_MACRO_CYCLES_PROMPT", "MACRO_CYCLES");
    if (macroPage) {
        for (const char* key :
             {"FUNC_MACRO_ADD", "FUNC_MACRO_DELETE", "FUNC_MACRO_RECORD", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR",
              "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM"}) {
            window.AddButton(key, "NODXD");
        }
        auto& record = window.Button("FUNC_MACRO_RECORD");
        record.setText(LangText(exeFolder, "TEXT", "A_RECORD"));
        record.SetTextStyle(true, 8, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                            controls::kCentredCaption);
        label("MARCO_NAME_SETTING", "MACRO_NAME_SETTING");
        label("FUNC_MACRO_RECORD_DELAY2", "RECORD_DELAY");
    } else {
        label("TISHI_SINGLE_STATIC", "SINGLE_STATIC");
        label("FUNC_KEY_RADIO_KB_STATIC", "IDS_MACRO_KB_KEY");
        label("FUNC_KEY_RADIO_MOU_STATIC", "IDS_MACRO_MOU_KEY");
        auto& input = window.AddControl<QLabel>("FUNC_KEY_INPUT");
        input.setText(QStringLiteral("Caps Lock"));
        input.setAlignment(Qt::AlignCenter);
        input.setStyleSheet(QStringLiteral("color: white; background: transparent; font-size: 18pt;"));
    }
    window.show();
    window.Save(out + (macroPage ? "/composite_macro.png" : "/composite_key.png"));
}

// The key-assignment dialog's background alone, as its window shows it before any control.
void ShootBackground(const std::string& exeFolder, const QString& out)
{
    ShotWindow window(exeFolder, "Composite.ini", {});
    window.Init();
    window.show();
    window.Save(out + "/composite_background.png");
}

} // namespace

} // namespace tavrix::skinshot

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinshot <folder of the executables> <output folder>\n");
        return 2;
    }
    const std::string exeFolder = QDir(argv[1]).absolutePath().toStdString() + "/";
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    tavrix::skinshot::ShootMain(exeFolder, out);
    tavrix::skinshot::ShootComposite(exeFolder, out, false);
    tavrix::skinshot::ShootComposite(exeFolder, out, true);
    tavrix::skinshot::ShootBackground(exeFolder, out);
    return 0;
}
