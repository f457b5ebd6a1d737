#include "ui/main_window/lighting_panel.h"

#include <QComboBox>
#include <algorithm>
#include <initializer_list>

#include "app/app_state.h"
#include "controls/bitmap_slider.h"
#include "controls/color_static.h"
#include "controls/control_id.h"
#include "controls/drop_list.h"
#include "controls/picture_static.h"
#include "controls/skin_color_btn.h"
#include "platform/ini_file.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/tavrix_dlg.h"

namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";
const char* const kFlagSection = "KEYCOLOR";
const char* const kFlagKey = "DengCheck";
constexpr int kSliderPictureCount = 26;
constexpr int kSliderPageStep = 10;

const QColor kLitFrame(0xFF, 0xFF, 0xFF);
const QColor kDarkFrame(0x00, 0x00, 0x00);

const char* const kComboStyle = "QComboBox { background: #1E1F24; color: #FFFFFF; border: 1px solid #FF8200; "
                                "padding: 1px 6px; }"
                                "QComboBox QAbstractItemView { background: #1E1F24; color: #FFFFFF; "
                                "selection-background-color: #FF8200; }";

struct Label {
    int id;
    const char* skinKey;
    const char* textKey;
};

// The labels of the panel; the last five belong to the colour controls, which stay hidden.
constexpr Label kLabels[] = {
    {kReportRateLabelId, "CONTROL_UsbStatic", "Usb"},       {kLightingToggleLabelId, "CONTROL_DengStatic", "Deng"},
    {kBrightnessLabelId, "CONTROL_LightStatic", "Light"},   {kDirectionLabelId, "CONTROL_BLFXStatic", "FX"},
    {kSpeedLabelId, "CONTROL_SpeedStatic", "Speed"},        {kToolLabelId, "CONTROL_USERgjStatic", "Tool"},
    {kAllDarkLabelId, "CONTROL_HXsjsStatic", "DC"},         {kAllLitLabelId, "CONTROL_LEDsjsStatic", "LEDOFF"},
    {kUserPatternLabelId, "CONTROL_umStatic", "Pattern"},   {kColourLabelIds[0], "CONTROL_FYYSStatic", "Color"},
    {kColourLabelIds[1], "CONTROL_HXysStatic", "Color"},    {kColourLabelIds[2], "CONTROL_JTysStatic", "Color"},
    {kColourLabelIds[3], "CONTROL_USERjsStatic", "JColor"}, {kColourLabelIds[4], "CONTROL_CDsjsStatic", "DC"},
};
constexpr std::size_t kShownLabelCount = 9;

constexpr std::array<const char*, kColourButtonIds.size()> kColourButtonKeys{
    "CONTROL_FYYSButton",   "CONTROL_HXysButton", "CONTROL_JTysButton", "CONTROL_USERysButton",
    "CONTROL_USERjsButton", "CONTROL_TSysButton", "CONTROL_CDysButton"};

struct PalettePicture {
    const char* skinKey;
    const char* file;
};
constexpr PalettePicture kPalettePictures[] = {
    {"CONTROL_HONGPIC", "hong.bmp"},
    {"CONTROL_HUANGPIC", "huang.bmp"},
    {"CONTROL_LVPIC", "lv.bmp"},
    {"CONTROL_LANPIC", "lan.bmp"},
};

constexpr const char* kPictureFiles[] = {
    "dengup.bmp",  "dengdown.bmp",   "leftup.bmp",  "leftdown.bmp",   "rightup.bmp", "rightdown.bmp",
    "kuosan.bmp",  "kuosandown.bmp", "julong.bmp",  "julongdown.bmp", "upup.bmp",    "updown.bmp",
    "downup.bmp",  "downdown.bmp",   "sjsup.bmp",   "sjsdown.bmp",    "ledup.bmp",   "leddown.bmp",
    "user1up.bmp", "user1down.bmp",  "user2up.bmp", "user2down.bmp",  "hong.bmp",    "hongok.bmp",
    "huang.bmp",   "huangok.bmp",    "lv.bmp",      "lvok.bmp",       "lan.bmp",     "lanok.bmp",
};

constexpr std::initializer_list<int> kBrightnessControls{kBrightnessLabelId, kBrightnessSliderId};
constexpr std::initializer_list<int> kSpeedControls{kSpeedLabelId, kSpeedSliderId};
constexpr std::initializer_list<int> kDirectionControls{kDirectionLabelId, kDirectionLeftId, kDirectionRightId};
constexpr std::initializer_list<int> kPerKeyControls{kToolLabelId,    kToolLightId,       kToolDarkenId,
                                                     kAllDarkLabelId, kAllDarkId,         kAllLitLabelId,
                                                     kAllLitId,       kUserPatternListId, kUserPatternLabelId};

std::string SliderPictureName(int position)
{
    return std::to_string(position) + ".bmp";
}

// The skin keys of the direction controls end in this for the layout.
const char* DirectionKeySuffix(model::DirectionLayout layout)
{
    switch (layout) {
    case model::DirectionLayout::Second:
        return "2";
    case model::DirectionLayout::Third:
        return "3";
    default:
        return "";
    }
}

// The left (direction 255) and right (direction 0) direction pictures, released and pressed.
struct DirectionPictureNames {
    const char* leftReleased;
    const char* leftPressed;
    const char* rightReleased;
    const char* rightPressed;
};

DirectionPictureNames DirectionPicturesOf(model::DirectionLook look)
{
    switch (look) {
    case model::DirectionLook::SpreadGather:
        return {"kuosan.bmp", "kuosandown.bmp", "julong.bmp", "julongdown.bmp"};
    case model::DirectionLook::UpDown:
        return {"upup.bmp", "updown.bmp", "downup.bmp", "downdown.bmp"};
    default:
        return {"leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp"};
    }
}

bool ReadEditFlag()
{
    return platform::ReadPrivateProfileString(kFlagSection, kFlagKey, "0", app::GetProgramPaths().settingsFile) == "1";
}

void WriteEditFlag(bool on)
{
    // A settings file that cannot be written only means the edit starts off next time.
    (void)platform::WritePrivateProfileString(kFlagSection, kFlagKey, on ? "1" : "0",
                                              app::GetProgramPaths().settingsFile);
}

// Every button that shows a lamp frame: the keys, the G-keys and Fn.
std::vector<int> FramedButtonIds()
{
    std::vector<int> ids(kGKeyIds.begin(), kGKeyIds.end());
    for (const DrawnKey& key : DrawnKeys()) {
        ids.push_back(key.id);
    }
    ids.push_back(kFnId);
    return ids;
}

void SetFrame(controls::CPngButton& button, bool lit)
{
    button.SetFrame(lit ? kLitFrame : kDarkFrame, true);
}

} // namespace

void LightingPanel::PlaceLightingPanel()
{
    LoadLightingPictures();
    PlaceLightingControls();
    InitLightingControls();
    FindFramedButtons();
}

void LightingPanel::LoadLightingPictures()
{
    const std::string& folder = m_window.SkinFolder();
    const auto load = [&](const std::string& name) { m_pictures[name].load(QString::fromStdString(folder + name)); };
    for (const char* file : kPictureFiles) {
        load(file);
    }
    for (int position = 0; position < kSliderPictureCount; ++position) {
        load(SliderPictureName(position));
    }
}

const QPixmap& LightingPanel::LightingPicture(const std::string& name) const
{
    static const QPixmap kNone;
    const auto found = m_pictures.find(name);
    return found == m_pictures.end() ? kNone : found->second;
}

void LightingPanel::PlaceLightingControls()
{
    const std::string& ini = m_window.SkinIniPath();
    const auto place = [&](QWidget* control, const char* key) {
        skin::PlaceSkinControl(*control, ini, kSection, key);
        return control;
    };
    const auto picture = [&](int id, const char* key) {
        return static_cast<controls::PictureStatic*>(place(new controls::PictureStatic(id, &m_window), key));
    };
    const auto combo = [&](int id, const char* key) {
        auto* box = new controls::CDropList(id, &m_window);
        box->setStyleSheet(kComboStyle);
        return static_cast<QComboBox*>(place(box, key));
    };
    const auto slider = [&](int id, const char* key) {
        return static_cast<controls::CBitmapSlider*>(place(new controls::CBitmapSlider(id, &m_window), key));
    };

    for (const Label& label : kLabels) {
        place(new controls::ColorStatic(label.id, &m_window), label.skinKey);
    }
    m_toggle = picture(kLightingToggleId, "CONTROL_DengStaPic");
    m_effectList = combo(kEffectListId, "CONTROL_XGcombox");
    m_brightness = slider(kBrightnessSliderId, "CONTROL_LightSlider");
    m_speed = slider(kSpeedSliderId, "CONTROL_SpeedSlider");
    m_directionLeft = picture(kDirectionLeftId, "CONTROL_BLFXLStaPic");
    m_directionRight = picture(kDirectionRightId, "CONTROL_BLFXRStaPic");
    m_toolLight = picture(kToolLightId, "CONTROL_USERgjStaPic1");
    m_toolDarken = picture(kToolDarkenId, "CONTROL_USERgjStaPic2");
    m_allDark = picture(kAllDarkId, "CONTROL_HXsjsStaPic");
    m_allLit = picture(kAllLitId, "CONTROL_LEDsjsStaPic");
    m_userPatterns = combo(kUserPatternListId, "CONTROL_umCombo");
    PlaceHiddenControls();

    // activated: only the user's choices, not the panel's own selections.
    QObject::connect(m_effectList, &QComboBox::activated, &m_window, [this](int position) {
        if (position >= 0 && static_cast<std::size_t>(position) < m_listedEffects.size()) {
            ChooseEffect(m_listedEffects[static_cast<std::size_t>(position)]);
        }
    });
    QObject::connect(m_userPatterns, &QComboBox::activated, &m_window,
                     [this](int position) { ChooseUserPattern(position); });
}

// The colour controls have no role yet: they are placed so a skin can lay them out, and kept
// hidden.
void LightingPanel::PlaceHiddenControls()
{
    const std::string& ini = m_window.SkinIniPath();
    for (std::size_t i = kShownLabelCount; i < std::size(kLabels); ++i) {
        m_window.GetDlgItem(kLabels[i].id)->hide();
    }
    for (std::size_t i = 0; i < kColourButtonIds.size(); ++i) {
        auto* button = new controls::CSkinColorBtn(kColourButtonIds[i], &m_window);
        skin::PlaceSkinControl(*button, ini, kSection, kColourButtonKeys[i]);
        button->hide();
    }
    for (const PalettePicture& palette : kPalettePictures) {
        auto* picture = new controls::PictureStatic(0, &m_window);
        skin::PlaceSkinControl(*picture, ini, kSection, palette.skinKey);
        picture->SetPicture(LightingPicture(palette.file));
        picture->hide();
    }
}

void LightingPanel::InitLightingControls()
{
    const auto init = [](controls::CBitmapSlider& slider, const QPixmap& picture) {
        slider.InitSliderPicture(picture);
        slider.SetSliderRange(0, model::kSliderLast);
        (void)slider.SetSliderPage(kSliderPageStep);
    };
    init(*m_brightness, LightingPicture(SliderPictureName(0)));
    init(*m_speed, LightingPicture(SliderPictureName(6)));
    for (int pattern = 1; pattern <= model::kUserPatternCount; ++pattern) {
        m_userPatterns->addItem(QString::number(pattern));
    }
    m_toggle->SetPicture(LightingPicture("dengup.bmp"));
    ApplyVisibility(0, model::EffectShown::Shown);
}

void LightingPanel::SetLightingTexts(int languageIndex)
{
    for (const Label& label : kLabels) {
        if (auto* control = m_window.GetDlgItem<QLabel>(label.id)) {
            control->setText(QString::fromStdString(skin::LoadLangLight(label.textKey, languageIndex)));
        }
    }
    const QString other = QString::fromStdString(skin::LoadLangLight("OtherColor", languageIndex));
    for (int id : kColourButtonIds) {
        if (auto* button = m_window.GetDlgItem<controls::CSkinColorBtn>(id)) {
            button->EnableOtherButton(other);
        }
    }
}

model::LightingController& LightingPanel::Control() const
{
    return m_window.LightingControl();
}

void LightingPanel::ReadLightingState(model::LightingRead what)
{
    Control().Reload(what, [this, what](int result) {
        m_window.RunOnWindowThread([this, what, result] {
            if (what == model::LightingRead::Full && result == 0) {
                m_editOn = ReadEditFlag();
            }
            RefreshLightingPanel();
        });
    });
}

void LightingPanel::RefreshLightingPanel()
{
    const model::LightingSettings current = Control().Settings();
    m_effectList->clear();
    m_listedEffects = Control().Effects();
    const int languageIndex = skin::GetLanguageIndex();
    for (uint8_t code : m_listedEffects) {
        m_effectList->addItem(QString::fromStdString(skin::LoadLangMode(std::to_string(code), languageIndex)));
    }
    if (KeyboardPart* keyboard = m_window.Parts().keyboard) {
        keyboard->SelectReportRate(current.reportRate);
    }
    ShowSliders(current);
    m_toggle->SetPicture(LightingPicture(m_editOn ? "dengdown.bmp" : "dengup.bmp"));
    if (m_editOn) {
        ClearKeyFrames();
    }
    ShowDirectionPictures(current.effect, current.direction);
    ShowToolPictures(current.tool);
    ShowAllLampsPictures(false, false);
    SelectEffectInList(current.effect);
    m_userPatterns->setCurrentIndex(current.userPattern);
    ApplyVisibility(current.effect, model::EffectShown::Shown);
    if (m_editOn && current.effect == model::kPerKeyEffect) {
        ShowLampFrames();
    }
    MoveDirectionControls(current.effect);
}

void LightingPanel::SelectEffectInList(int code)
{
    const auto listed = std::find(m_listedEffects.begin(), m_listedEffects.end(), code);
    m_effectList->setCurrentIndex(listed == m_listedEffects.end() ? -1
                                                                  : static_cast<int>(listed - m_listedEffects.begin()));
}

void LightingPanel::ShowSliders(const model::LightingSettings& settings)
{
    m_brightness->SetSliderPos(settings.brightness);
    m_brightness->SetSliderPicture(LightingPicture(SliderPictureName(m_brightness->GetSliderPos())));
    m_speed->SetSliderPos(model::SliderPositionOfSpeed(settings.speed));
    m_speed->SetSliderPicture(LightingPicture(SliderPictureName(m_speed->GetSliderPos())));
}

void LightingPanel::ShowDirectionPictures(int effect, uint8_t direction)
{
    const DirectionPictureNames names = DirectionPicturesOf(model::DirectionLookOf(effect));
    m_directionLeft->SetPicture(
        LightingPicture(direction == model::kDirectionLeft ? names.leftPressed : names.leftReleased));
    m_directionRight->SetPicture(
        LightingPicture(direction == model::kDirectionRight ? names.rightPressed : names.rightReleased));
}

void LightingPanel::ShowToolPictures(uint8_t tool)
{
    const bool light = tool == model::kToolLight;
    m_toolLight->SetPicture(LightingPicture(light ? "user1down.bmp" : "user1up.bmp"));
    m_toolDarken->SetPicture(LightingPicture(light ? "user2up.bmp" : "user2down.bmp"));
}

void LightingPanel::ShowAllLampsPictures(bool darkPressed, bool litPressed)
{
    m_allDark->SetPicture(LightingPicture(darkPressed ? "sjsdown.bmp" : "sjsup.bmp"));
    m_allLit->SetPicture(AllLitPicture(litPressed));
}

// All lit has a picture of its own; a skin without one shows the all-dark picture for both.
const QPixmap& LightingPanel::AllLitPicture(bool pressed) const
{
    const QPixmap& own = LightingPicture(pressed ? "leddown.bmp" : "ledup.bmp");
    return own.isNull() ? LightingPicture(pressed ? "sjsdown.bmp" : "sjsup.bmp") : own;
}

void LightingPanel::MoveDirectionControls(int effect)
{
    const std::string suffix = DirectionKeySuffix(model::DirectionLayoutOf(effect));
    const std::string& ini = m_window.SkinIniPath();
    skin::MoveSkinControl(*m_window.GetDlgItem(kDirectionLabelId), ini, kSection, "CONTROL_BLFXStatic" + suffix);
    skin::MoveSkinControl(*m_directionLeft, ini, kSection, "CONTROL_BLFXLStaPic" + suffix);
    skin::MoveSkinControl(*m_directionRight, ini, kSection, "CONTROL_BLFXRStaPic" + suffix);
}

void LightingPanel::ApplyVisibility(int effect, model::EffectShown how)
{
    const model::PanelVisibility visible = m_editOn ? model::VisibleControls(effect, how) : model::PanelVisibility{};
    const auto show = [this](std::initializer_list<int> ids, bool shown) {
        for (int id : ids) {
            m_window.GetDlgItem(id)->setVisible(shown);
        }
    };
    show({kEffectListId}, visible.effectList);
    show(kBrightnessControls, visible.brightness);
    show(kSpeedControls, visible.speed);
    show(kDirectionControls, visible.direction);
    show(kPerKeyControls, visible.perKey);
}

void LightingPanel::FindFramedButtons()
{
    for (int id : FramedButtonIds()) {
        if (auto* button = m_window.GetDlgItem<controls::CPngButton>(id)) {
            m_framedButtons.push_back({button, *LampOf(id)});
        }
    }
}

void LightingPanel::ShowLampFrames()
{
    for (const FramedButton& framed : m_framedButtons) {
        SetFrame(*framed.button, Control().IsLampLit(framed.lamp));
    }
}

void LightingPanel::ClearKeyFrames()
{
    for (const FramedButton& framed : m_framedButtons) {
        framed.button->SetSelected(false, false);
        framed.button->SetFrame(QColor(), false);
    }
}

bool LightingPanel::OnCommand(int id)
{
    switch (id) {
    case kLightingToggleId:
        ToggleEdit();
        return true;
    case kDirectionLeftId:
        ChooseDirection(model::kDirectionLeft);
        return true;
    case kDirectionRightId:
        ChooseDirection(model::kDirectionRight);
        return true;
    case kToolLightId:
        ChooseTool(model::kToolLight);
        return true;
    case kToolDarkenId:
        ChooseTool(model::kToolDarken);
        return true;
    case kAllDarkId:
        SetAllLamps(false);
        return true;
    case kAllLitId:
        SetAllLamps(true);
        return true;
    default:
        return false;
    }
}

void LightingPanel::OnSlider(int id, int position)
{
    controls::CBitmapSlider* slider = id == kBrightnessSliderId ? m_brightness
                                      : id == kSpeedSliderId    ? m_speed
                                                                : nullptr;
    if (slider == nullptr) {
        return;
    }
    slider->SetSliderPicture(LightingPicture(SliderPictureName(position)));
    if (slider == m_brightness) {
        Control().SetBrightness(position);
    } else {
        Control().SetSpeed(model::SpeedOfSliderPosition(position));
    }
}

void LightingPanel::ToggleEdit()
{
    if (m_editOn) {
        EndLightingEdit();
        return;
    }
    StartEdit();
}

void LightingPanel::StartEdit()
{
    m_editOn = true;
    WriteEditFlag(true);
    m_toggle->SetPicture(LightingPicture("dengdown.bmp"));
    ClearKeyFrames();
    const int effect = Control().Settings().effect;
    ApplyVisibility(effect, model::EffectShown::Shown);
    if (effect == model::kPerKeyEffect) {
        ShowLampFrames();
    }
}

void LightingPanel::EndLightingEdit()
{
    m_editOn = false;
    WriteEditFlag(false);
    m_toggle->SetPicture(LightingPicture("dengup.bmp"));
    ClearKeyFrames();
    m_window.RefreshKeyMarks();
    ApplyVisibility(Control().Settings().effect, model::EffectShown::Shown);
}

void LightingPanel::ChooseEffect(int code)
{
    ShowEffectChosen(code);
    Control().SetEffect(code);
    if (code == model::kPerKeyEffect) {
        ShowLampFrames();
    }
}

void LightingPanel::ShowEffectChosen(int code)
{
    MoveDirectionControls(code);
    ShowDirectionPictures(code, Control().Settings().direction);
    ClearKeyFrames();
    ApplyVisibility(code, model::EffectShown::Chosen);
}

void LightingPanel::ChooseUserPattern(int pattern)
{
    if (pattern < 0 || pattern >= model::kUserPatternCount) {
        return;
    }
    // Only while the lighting is edited does the keyboard hear of it.
    Control().SetPattern(pattern, m_editOn);
    ShowLampFrames();
}

void LightingPanel::ChooseDirection(uint8_t direction)
{
    ShowDirectionPictures(Control().Settings().effect, direction);
    Control().SetDirection(direction);
}

void LightingPanel::ChooseTool(uint8_t tool)
{
    ShowToolPictures(tool);
    Control().SetTool(tool);
}

void LightingPanel::SetAllLamps(bool lit)
{
    ShowAllLampsPictures(!lit, lit);
    Control().SetAllLamps(lit);
    for (const FramedButton& framed : m_framedButtons) {
        SetFrame(*framed.button, lit);
    }
}

void LightingPanel::ToggleLampAtKey(int controlId)
{
    const std::optional<int> lamp = LampOf(controlId);
    if (!lamp || !Control().ToggleLamp(*lamp)) {
        return;
    }
    if (auto* button = m_window.GetDlgItem<controls::CPngButton>(controlId)) {
        SetFrame(*button, Control().IsLampLit(*lamp));
    }
}

void LightingPanel::ResetLightingDefaults()
{
    Control().ResetDefaults();
    const int effect = Control().ChosenEffect();
    SelectEffectInList(effect);
    ShowEffectChosen(effect);
    if (KeyboardPart* keyboard = m_window.Parts().keyboard) {
        keyboard->SelectReportRate(Control().Settings().reportRate);
    }
    ShowAllLampsPictures(false, false);
    if (Control().HasPerKeyEffect()) {
        m_userPatterns->setCurrentIndex(0);
    }
    // The sliders show what was just written.
    ShowSliders(Control().Settings());
    ClearKeyFrames();
}

} // namespace tavrix::ui
