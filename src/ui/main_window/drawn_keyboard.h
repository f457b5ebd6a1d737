#pragma once

#include <cstddef>
#include <optional>

#include "controls/png_button.h"
#include "device/commands.h"
#include "model/lighting_settings.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/window_parts.h"

// The keyboard drawn in the main window: one button per key, the G-keys with their bank, the Fn
// key, the lock lamps, the row swap (flip), the profile and report-rate buttons. Keys whose
// assignment differs from the default are drawn selected and say what they do in their tooltip.
namespace tavrix::ui {

class CTavrixDlg;

inline constexpr int kLockAbId = 1128;
inline constexpr int kFlipIndicatorId = 1129;
inline constexpr int kFlipLeftId = 1130;
inline constexpr int kFlipRightId = 1131;
inline constexpr int kArrowLeftId = 1132;
inline constexpr int kArrowRightId = 1133;
inline constexpr int kFirstProfileId = 1135;
// One button for each of the keyboard's profiles.
inline constexpr int kProfileButtonCount = device::kProfileCount;
inline constexpr int kReportRateCount = model::kReportRateLast + 1;
inline constexpr int kReportRateIds[kReportRateCount] = {1147, 1168, 1169, 1170};

class DrawnKeyboard : public KeyboardPart {
public:
    explicit DrawnKeyboard(CTavrixDlg& window) : m_window(window) {}

    void PlaceKeyboard() override;
    bool OnCommand(int id) override;
    void RefreshKeyMarks() override;
    void RefreshGKeyMarks() override;
    void SelectProfileButton(int profile) override;
    void ShowKeysCleared() override;

    // The click routine of a key, a G-key, D1 to D6 and Fn.
    void OnKeyButton(int id);
    // The model slot of the current profile block a key or G-key button stands for; nothing for
    // any other control.
    [[nodiscard]] std::optional<std::size_t> KeySlotOf(int id) const;
    // Enables F1 to F4 or D1 to D6 after the stored flip value, and shows it on FLIP_0 and the
    // arrows.
    void ApplyFlip();
    void SelectReportRate(int code) override;
    // The report rate of the lighting profile, as the window's lighting controller holds it.
    [[nodiscard]] int ReportRate() const;

private:
    void PlaceIndicators();
    void SetDrawCallbacks();
    void ShowBank();
    void MarkKeys(bool gKeysOnly);
    void OnProfileButton(int profile);
    // Draws the profile's button selected and the others not; the lighting profile stays.
    void ShowProfileSelected(int profile);
    void OnReportRateButton(int code);
    void ToggleFlip();
    void PlaceArrow(int arrowId, bool left);
    void SetLightingProfile(int profile);
    [[nodiscard]] controls::ButtonSheets KeySheets() const;
    [[nodiscard]] controls::CPngButton* Button(int id) const;

    CTavrixDlg& m_window;
    // The flip value as ApplyFlip last read it: painting must not read the settings store.
    bool m_flipped = false;
};

// The stored flip value ("Flip" in the profile store's "PROFILES"); 0 when absent or unreadable.
[[nodiscard]] int ReadFlipValue();

} // namespace tavrix::ui
