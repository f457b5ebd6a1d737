#include "demo_dialog.h"

#include "controls/caption_style.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"

namespace tavrix::skindemo {

namespace {

constexpr int kProfileIds[3] = {1004, 1005, 1006};
constexpr int kApplyId = 1020;
constexpr int kHelpId = 1021;
constexpr int kCloseId = 2;
constexpr int kTurnedId = 1022;
constexpr int kSliderId = 1178;
constexpr int kStatusId = 1200;

} // namespace

DemoDialog::DemoDialog(const std::string& exeFolder)
    : CBaseDialog(102, nullptr, exeFolder + "Skins/Demo.ini", exeFolder + "Skins/"),
      m_exeFolder(exeFolder), m_profiles{{kProfileIds[0], this}, {kProfileIds[1], this}, {kProfileIds[2], this}},
      m_apply(kApplyId, this), m_help(kHelpId, this), m_close(kCloseId, this), m_turned(kTurnedId, this),
      m_slider(kSliderId, this), m_status(kStatusId, this)
{
}

bool DemoDialog::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    const struct {
        QPixmap* sheet;
        const char* file;
    } sheets[] = {
        {&m_normal, "Skins\\demo_normal.png"},   {&m_over, "Skins\\demo_over.png"},
        {&m_down, "Skins\\demo_down.png"},       {&m_disabled, "Skins\\demo_disable.png"},
        {&m_selected, "Skins\\demo_select.png"},
    };
    for (const auto& entry : sheets) {
        skin::MakeStateSheet(*entry.sheet, skin::LoadSkinImage(m_exeFolder, entry.file), *this);
    }
    const controls::ButtonSheets buttonSheets{&m_normal, &m_over, &m_down, &m_disabled, &m_selected};
    const std::string& ini = SkinIniPath();
    const char* profileKeys[3] = {"FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3"};
    for (int i = 0; i < 3; ++i) {
        skin::PlaceSkinButton(m_profiles[i], ini, "BUTTONINFO", profileKeys[i], buttonSheets);
        m_profiles[i].setText(QString("Profile %1").arg(i + 1));
    }
    skin::PlaceSkinButton(m_apply, ini, "BUTTONINFO", "CONTROL2_APPLY", buttonSheets);
    skin::PlaceSkinButton(m_help, ini, "BUTTONINFO", "CONTROL_HELP", buttonSheets);
    skin::PlaceSkinButton(m_close, ini, "BUTTONINFO", "CONTROL_CLOSE", buttonSheets);
    skin::PlaceSkinButton(m_turned, ini, "BUTTONINFO", "FUNC_SWITCH", buttonSheets);
    m_apply.setText("Apply");
    m_help.setText("Help");
    m_help.setEnabled(false);
    m_close.setText("x");
    m_turned.setText("Turned");

    for (controls::CPngButton* button :
         {&m_profiles[0], &m_profiles[1], &m_profiles[2], &m_apply, &m_help, &m_close, &m_turned}) {
        button->SetTextStyle(true, 10, "DejaVu Sans", controls::kSkinCaptionColors, controls::kCentredCaption);
    }
    // A turned caption starts at the bottom left of its placed rectangle and rises from there.
    m_turned.SetTextStyle(true, 10, "DejaVu Sans", controls::kSkinCaptionColors,
                          controls::TextFormat::Bottom | controls::TextFormat::SingleLine);
    m_turned.SetTextRotation(268, true);
    m_apply.SetTooltipText("Write the changes", true);
    SelectProfile(kProfileIds[0]);

    for (int position = 0; position < static_cast<int>(m_sliderPictures.size()); ++position) {
        m_sliderPictures[position] =
            QPixmap::fromImage(skin::LoadSkinImage(m_exeFolder, "Skins\\slider" + std::to_string(position) + ".png"));
    }
    skin::PlaceSkinControl(m_slider, ini, "BUTTONINFO", "CONTROL_LightSlider");
    m_slider.InitSliderPicture(m_sliderPictures[0]);
    m_slider.SetSliderRange(0, 4);
    m_slider.SetSliderPage(10);
    m_slider.SetSliderPos(2);
    m_slider.SetSliderPicture(m_sliderPictures[2]);

    skin::PlaceSkinControl(m_status, ini, "BUTTONINFO", "CONTROL_LightStatic");
    m_status.setFont(QFont("DejaVu Sans", 10));
    m_status.SetLabelColor(QColor(255, 130, 0));
    m_status.setText("Brightness 2");
    return true;
}

bool DemoDialog::OnCommand(int id)
{
    if (id == kCloseId) {
        EndDialog(skin::IDCANCEL);
        return true;
    }
    if (id == kApplyId || id == kTurnedId) {
        m_status.setText(id == kApplyId ? "Apply clicked" : "Turned clicked");
        return true;
    }
    SelectProfile(id);
    return true;
}

controls::LParam DemoDialog::OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    if (message != controls::UM_SLIDER || wParam != kSliderId) {
        return 0;
    }
    const auto position = static_cast<size_t>(std::clamp<controls::LParam>(lParam, 0, 4));
    m_slider.SetSliderPicture(m_sliderPictures[position]);
    m_status.setText(QString("Brightness %1").arg(position));
    return 0;
}

void DemoDialog::SelectProfile(int id)
{
    for (int i = 0; i < 3; ++i) {
        m_profiles[i].SetSelected(kProfileIds[i] == id, true);
    }
    for (int i = 0; i < 3; ++i) {
        if (kProfileIds[i] == id) {
            m_status.setText(QString("Profile %1 selected").arg(i + 1));
        }
    }
}

} // namespace tavrix::skindemo
