#pragma once

#include <QPixmap>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/lighting_controller.h"
#include "ui/main_window/window_parts.h"

class QComboBox;

namespace tavrix::controls {
class CBitmapSlider;
class CPngButton;
class PictureStatic;
} // namespace tavrix::controls

// The lighting panel of the main window: effect, brightness, speed, direction and, for the
// per-key effect, ten user patterns of lit keys drawn as frames on the keyboard. It is folded
// away until the lighting edit is switched on. It shows the window's lighting controller and
// hands it the user's choices, which it writes to the keyboard at once.
namespace tavrix::ui {

class CTavrixDlg;

inline constexpr int kLightingToggleId = 1167;
inline constexpr int kLightingToggleLabelId = 1171;
inline constexpr int kEffectListId = 1146;
inline constexpr int kBrightnessLabelId = 1172;
inline constexpr int kBrightnessSliderId = 1178;
inline constexpr int kSpeedLabelId = 1166;
inline constexpr int kSpeedSliderId = 1179;
inline constexpr int kDirectionLabelId = 1148;
inline constexpr int kDirectionLeftId = 1149;
inline constexpr int kDirectionRightId = 1150;
inline constexpr int kToolLabelId = 1163;
inline constexpr int kToolLightId = 1164;
inline constexpr int kToolDarkenId = 1165;
inline constexpr int kAllDarkLabelId = 1173;
inline constexpr int kAllDarkId = 1156;
inline constexpr int kAllLitLabelId = 1208;
inline constexpr int kAllLitId = 1207;
inline constexpr int kUserPatternListId = 1198;
inline constexpr int kUserPatternLabelId = 1199;
inline constexpr int kReportRateLabelId = 1204;
inline constexpr std::array<int, 7> kColourButtonIds{1152, 1155, 1158, 1160, 1162, 1187, 1191};
// The labels of the colour controls, which stay hidden.
inline constexpr std::array<int, 5> kColourLabelIds{1151, 1154, 1159, 1161, 1176};

class LightingPanel : public LightingPart {
public:
    explicit LightingPanel(CTavrixDlg& window) : m_window(window) {}

    void PlaceLightingPanel() override;
    bool OnCommand(int id) override;
    void OnSlider(int id, int position) override;
    void ReadLightingState(model::LightingRead what) override;
    void RefreshLightingPanel() override;
    void SetLightingTexts(int languageIndex) override;
    [[nodiscard]] bool IsLightingEditOn() const override { return m_editOn; }
    void ToggleLampAtKey(int controlId) override;
    void ResetLightingDefaults() override;
    void EndLightingEdit() override;

    // The effects the list shows, in its order.
    [[nodiscard]] const std::vector<uint8_t>& SupportedEffects() const { return m_listedEffects; }
    // A picture of the skin folder as loaded at start; an empty one for a name never loaded.
    [[nodiscard]] const QPixmap& LightingPicture(const std::string& name) const;

private:
    void LoadLightingPictures();
    void PlaceLightingControls();
    void PlaceHiddenControls();
    void InitLightingControls();
    [[nodiscard]] model::LightingController& Control() const;

    void ToggleEdit();
    void StartEdit();
    void ChooseEffect(int code);
    // What choosing the effect shows, before the choice is written.
    void ShowEffectChosen(int code);
    void ChooseUserPattern(int pattern);
    void ChooseDirection(uint8_t direction);
    void ChooseTool(uint8_t tool);
    void SetAllLamps(bool lit);

    // Selects code in the effect list, or nothing when the keyboard does not offer it.
    void SelectEffectInList(int code);
    void ShowSliders(const model::LightingSettings& settings);
    void ShowDirectionPictures(int effect, uint8_t direction);
    void ShowToolPictures(uint8_t tool);
    // The all-dark and all-lit buttons, each drawn pressed or released.
    void ShowAllLampsPictures(bool darkPressed, bool litPressed);
    [[nodiscard]] const QPixmap& AllLitPicture(bool pressed) const;
    void MoveDirectionControls(int effect);
    void ApplyVisibility(int effect, model::EffectShown how);
    struct FramedButton {
        controls::CPngButton* button;
        int lamp;
    };
    // Finds the keyboard's buttons that show lamp frames, with their lamps. The keyboard is
    // placed before the panel and never loses a button; one it did not place is left out.
    void FindFramedButtons();
    void ShowLampFrames();
    void ClearKeyFrames();

    CTavrixDlg& m_window;
    std::map<std::string, QPixmap> m_pictures;
    std::vector<uint8_t> m_listedEffects;
    bool m_editOn = false;
    std::vector<FramedButton> m_framedButtons;

    controls::PictureStatic* m_toggle = nullptr;
    QComboBox* m_effectList = nullptr;
    QComboBox* m_userPatterns = nullptr;
    controls::CBitmapSlider* m_brightness = nullptr;
    controls::CBitmapSlider* m_speed = nullptr;
    controls::PictureStatic* m_directionLeft = nullptr;
    controls::PictureStatic* m_directionRight = nullptr;
    controls::PictureStatic* m_toolLight = nullptr;
    controls::PictureStatic* m_toolDarken = nullptr;
    controls::PictureStatic* m_allDark = nullptr;
    controls::PictureStatic* m_allLit = nullptr;
};

} // namespace tavrix::ui
