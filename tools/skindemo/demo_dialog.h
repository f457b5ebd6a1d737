#pragma once

#include <QPixmap>
#include <array>

#include "controls/bitmap_slider.h"
#include "controls/color_static.h"
#include "controls/png_button.h"
#include "skin/base_dialog.h"

namespace tavrix::skindemo {

// A skinned window made of the demo skin: three profile buttons of which one is selected, Apply,
// Help (disabled), a button with a turned caption, Close, a slider and a label telling what
// happened.
class DemoDialog : public skin::CBaseDialog {
public:
    // exeFolder holds Skins/Demo.ini and its pictures.
    explicit DemoDialog(const std::string& exeFolder);

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

protected:
    bool OnInitDialog() override;

private:
    void SelectProfile(int id);

    std::string m_exeFolder;
    controls::CPngButton m_profiles[3];
    controls::CPngButton m_apply;
    controls::CPngButton m_help;
    controls::CPngButton m_close;
    controls::CPngButton m_turned;
    controls::CBitmapSlider m_slider;
    controls::ColorStatic m_status;
    QPixmap m_normal, m_over, m_down, m_disabled, m_selected;
    std::array<QPixmap, 5> m_sliderPictures;
};

} // namespace tavrix::skindemo
