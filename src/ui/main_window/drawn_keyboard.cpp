#include "ui/main_window/drawn_keyboard.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>

#include "controls/caption_style.h"
#include "model/key_code.h"
#include "model/key_description.h"
#include "platform/app_profile.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";
const char* const kImageSection = "BUTTONINFO2";
const char* const kFlipSection = "PROFILES";
const char* const kFlipEntry = "Flip";
constexpr int kEnterId = 1070;
constexpr int kRightBracketId = 1055;
constexpr int kF5Id = 1014;
constexpr std::array<int, 4> kF1ToF4{1010, 1011, 1012, 1013};
// The Caps, Num and Scroll Lock indicators: shown, never clicked.
constexpr std::array<int, 3> kLockIndicatorIds{1125, 1126, 1127};

struct Indicator {
    int id;
    const char* key;
};

// Buttons of the drawn keyboard besides the keys; placed once.
constexpr Indicator kIndicators[] = {
    {kFnId, "KEY_FN"},
    {kLockIndicatorIds[0], "LOCK_CAPS"},
    {kLockIndicatorIds[1], "LOCK_NUM"},
    {kLockIndicatorIds[2], "LOCK_SCROLL"},
    {kLockAbId, "LOCK_AB"},
    {kFlipIndicatorId, "FLIP_0"},
    {kFlipLeftId, "FLIP_1"},
    {kFlipRightId, "FLIP_2"},
    {kReportRateIds[0], "FUNC_REPORT1"},
    {kReportRateIds[1], "FUNC_REPORT2"},
    {kReportRateIds[2], "FUNC_REPORT3"},
    {kReportRateIds[3], "FUNC_REPORT4"},
};

} // namespace

int ReadFlipValue()
{
    const std::string text = platform::GetProfileString(kFlipSection, kFlipEntry, "0");
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

controls::CPngButton* DrawnKeyboard::Button(int id) const
{
    return m_window.GetDlgItem<controls::CPngButton>(id);
}

controls::ButtonSheets DrawnKeyboard::KeySheets() const
{
    const MainSheets& sheets = m_window.Sheets();
    return {&sheets.normal, &sheets.over, &sheets.down, &sheets.normal, &sheets.disabled};
}

void DrawnKeyboard::PlaceKeyboard()
{
    const std::string& ini = m_window.SkinIniPath();
    for (std::size_t j = 0; j < kGKeyIds.size(); ++j) {
        auto* button = new controls::CPngButton(kGKeyIds[j], &m_window);
        skin::PlaceSkinButton(*button, ini, kSection, "FUNC_G" + std::to_string(j + 1), KeySheets());
        button->SetTextStyle(true, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                             controls::kCentredCaption);
    }
    // F1 to F4 give way to D1 to D6 when the top row is swapped: disabled, they take their look
    // from the second normal sheet, where the skin draws them greyed.
    controls::ButtonSheets swappedSheets = KeySheets();
    swappedSheets.disabled = &m_window.Sheets().normal2;
    for (const DrawnKey& key : DrawnKeys()) {
        auto* button = new controls::CPngButton(key.id, &m_window);
        char name[8];
        std::snprintf(name, sizeof(name), "KEY_%03X", static_cast<unsigned>(model::KeyIndexOf(key.keyCode)));
        const bool swapped = std::find(kF1ToF4.begin(), kF1ToF4.end(), key.id) != kF1ToF4.end();
        skin::PlaceSkinButton(*button, ini, kSection, name, swapped ? swappedSheets : KeySheets());
    }
    PlaceIndicators();
    SetDrawCallbacks();
    ShowBank();
    ApplyFlip();
    SelectReportRate(ReportRate());
}

void DrawnKeyboard::PlaceIndicators()
{
    const std::string& ini = m_window.SkinIniPath();
    for (const Indicator& indicator : kIndicators) {
        auto* button = new controls::CPngButton(indicator.id, &m_window);
        skin::PlaceSkinButton(*button, ini, kSection, indicator.key, KeySheets());
    }
    for (int id : kLockIndicatorIds) {
        Button(id)->setEnabled(false);
    }
    // D1 to D6 sit where the skin places them ("FUNC_D1" to "FUNC_D6"), drawn greyed while the
    // top row is not swapped; a skin without them keeps them out of sight.
    const MainSheets& sheets = m_window.Sheets();
    const controls::ButtonSheets dKeySheets{&sheets.normal, &sheets.over, &sheets.down, &sheets.disabled,
                                            &sheets.normal};
    for (int i = 0; i < kDKeyCount; ++i) {
        auto* button = new controls::CPngButton(kFirstDKeyId + i, &m_window);
        skin::PlaceSkinButton(*button, ini, kSection, "FUNC_D" + std::to_string(i + 1), dKeySheets);
        button->setVisible(button->width() > 1);
    }
    new controls::CPngButton(kArrowLeftId, &m_window);
    new controls::CPngButton(kArrowRightId, &m_window);
}

void DrawnKeyboard::SetDrawCallbacks()
{
    Button(kLockAbId)->SetDrawCallback([this](controls::CPngButton&, QPainter&, bool) {
        for (int id : kGKeyIds) {
            Button(id)->update();
        }
    });
    Button(kEnterId)->SetDrawCallback(
        [this](controls::CPngButton&, QPainter&, bool) { Button(kRightBracketId)->update(); });
    Button(kFlipIndicatorId)->SetDrawCallback([this](controls::CPngButton&, QPainter&, bool) {
        if (m_flipped) {
            for (int i = 0; i < kDKeyCount; ++i) {
                Button(kFirstDKeyId + i)->update();
            }
        } else {
            for (int id : kF1ToF4) {
                Button(id)->update();
            }
        }
        for (int id : {kF5Id, kFlipLeftId, kFlipRightId}) {
            Button(id)->update();
        }
    });
}

void DrawnKeyboard::PlaceArrow(int arrowId, bool left)
{
    const std::string image = std::string(m_flipped ? "UP_ARROW_" : "DOWN_ARROW_") + (left ? "LEFT" : "RIGHT") + "1";
    skin::PlaceSkinArrow(*Button(arrowId), m_window.SkinIniPath(), kSection, left ? "LEFT_ARROW" : "RIGHT_ARROW",
                         kImageSection, image, &m_window.Sheets().arrow);
}

void DrawnKeyboard::ShowBank()
{
    const MainSheets& sheets = m_window.Sheets();
    const bool bankB = m_window.ActiveBank() != 0;
    const QPixmap* look = bankB ? &sheets.over : &sheets.normal;
    const QPixmap* selected = bankB ? &sheets.normal : &sheets.over;
    Button(kLockAbId)->SetSheets({look, look, look, look, selected});
    for (std::size_t j = 0; j < kGKeyIds.size(); ++j) {
        const QString caption = j < 5 ? QStringLiteral("%1%2").arg(bankB ? 'B' : 'A').arg(j + 1) : QString();
        Button(kGKeyIds[j])->setText(caption);
    }
}

void DrawnKeyboard::ApplyFlip()
{
    m_flipped = ReadFlipValue() != 0;
    for (int id : kF1ToF4) {
        Button(id)->setEnabled(!m_flipped);
    }
    for (int i = 0; i < kDKeyCount; ++i) {
        Button(kFirstDKeyId + i)->setEnabled(m_flipped);
    }
    const MainSheets& sheets = m_window.Sheets();
    const QPixmap* look = m_flipped ? &sheets.normal2 : &sheets.normal;
    Button(kFlipIndicatorId)->SetSheets({look, look, look, look, &sheets.disabled});
    PlaceArrow(kArrowLeftId, true);
    PlaceArrow(kArrowRightId, false);
}

void DrawnKeyboard::ToggleFlip()
{
    (void)platform::WriteProfileString(kFlipSection, kFlipEntry, ReadFlipValue() == 0 ? "1" : "0");
    ApplyFlip();
}

std::optional<std::size_t> DrawnKeyboard::KeySlotOf(int id) const
{
    if (const int position = GKeyPosition(id); position >= 0) {
        return model::GKeySlot(static_cast<model::GKeyBank>(m_window.ActiveBank()), static_cast<std::size_t>(position));
    }
    if (const DrawnKey* key = FindDrawnKey(id)) {
        return model::KeyIndexOf(key->keyCode);
    }
    return std::nullopt;
}

void DrawnKeyboard::OnKeyButton(int id)
{
    const WindowParts& parts = m_window.Parts();
    // G-keys have no lamp: the lighting edit leaves their clicks to the assignment editor.
    if (GKeyPosition(id) < 0 && parts.lighting != nullptr && parts.lighting->IsLightingEditOn()) {
        parts.lighting->ToggleLampAtKey(id);
        return;
    }
    if (id == kFnId || !KeySlotOf(id) || parts.composite == nullptr) {
        return;
    }
    parts.composite->OpenFor(id);
}

bool DrawnKeyboard::OnCommand(int id)
{
    if (id == kFnId || IsDKey(id) || KeySlotOf(id)) {
        OnKeyButton(id);
        return true;
    }
    if (id >= kFirstProfileId && id < kFirstProfileId + kProfileButtonCount) {
        OnProfileButton(id - kFirstProfileId);
        return true;
    }
    for (int code = 0; code < kReportRateCount; ++code) {
        if (kReportRateIds[code] == id) {
            OnReportRateButton(code);
            return true;
        }
    }
    if (id == kFlipLeftId || id == kFlipRightId) {
        ToggleFlip();
        return true;
    }
    return false;
}

void DrawnKeyboard::MarkKeys(bool gKeysOnly)
{
    const int profile = m_window.CurrentProfile();
    const model::ProfileKeys keys = m_window.Sync().Editor().ReadProfileKeys(profile);
    // The language is read once rather than from the registry store for every text.
    const int languageIndex = skin::GetLanguageIndex();
    const model::TextLookup lookup = [languageIndex](std::string_view key) {
        return LangText(key, languageIndex).toStdU16String();
    };
    const model::MacroNameOf macroName = [&keys](uint32_t number) -> std::optional<std::u16string> {
        const auto found = keys.macroNames.find(number);
        return found == keys.macroNames.end() ? std::nullopt : std::optional(found->second);
    };
    const auto mark = [&](int id, const model::KeyAssignment& slot, const std::u16string& description) {
        controls::CPngButton* button = Button(id);
        // Drawn with the next paint: marking every key at once should not paint each on its own.
        button->SetSelected(slot.type != model::kTypeDefault, false);
        button->update();
        button->SetTooltipText(QString::fromStdU16String(description), true);
    };
    // The G-keys stand for the slots of the active bank: marks and tooltips follow it.
    for (std::size_t j = 0; j < kGKeyIds.size(); ++j) {
        const model::KeyAssignment& slot = keys.assignments[*KeySlotOf(kGKeyIds[j])];
        mark(kGKeyIds[j], slot, model::KeyDescription(model::GKeyPosition{j}, slot, lookup, macroName));
    }
    if (gKeysOnly) {
        return;
    }
    for (const DrawnKey& key : DrawnKeys()) {
        const model::KeyAssignment& slot = keys.assignments[model::KeyIndexOf(key.keyCode)];
        mark(key.id, slot, model::KeyDescription(key.keyCode, slot, lookup, macroName));
    }
}

void DrawnKeyboard::RefreshKeyMarks()
{
    MarkKeys(false);
    ApplyFlip();
}

void DrawnKeyboard::RefreshGKeyMarks()
{
    ShowBank();
    MarkKeys(true);
}

void DrawnKeyboard::ShowKeysCleared()
{
    RefreshKeyMarks();
}

void DrawnKeyboard::SetLightingProfile(int profile)
{
    m_window.LightingControl().SelectProfile(profile);
}

void DrawnKeyboard::SelectProfileButton(int profile)
{
    if (profile < 0 || profile >= kProfileButtonCount) {
        return;
    }
    ShowProfileSelected(profile);
    SetLightingProfile(profile);
}

void DrawnKeyboard::ShowProfileSelected(int profile)
{
    for (int i = 0; i < kProfileButtonCount; ++i) {
        Button(kFirstProfileId + i)->SetSelected(i == profile, true);
    }
}

void DrawnKeyboard::OnProfileButton(int profile)
{
    SetLightingProfile(profile);
    if (LightingPart* lighting = m_window.Parts().lighting) {
        lighting->ReadLightingState(model::LightingRead::Full);
        if (lighting->IsLightingEditOn()) {
            lighting->EndLightingEdit();
        }
    }
    if (m_window.CurrentProfile() == profile) {
        return;
    }
    if (m_window.SwitchProfile(profile) == 0) {
        return;
    }
    ShowProfileSelected(profile);
    RefreshKeyMarks();
}

int DrawnKeyboard::ReportRate() const
{
    return m_window.LightingControl().Settings().reportRate;
}

void DrawnKeyboard::SelectReportRate(int code)
{
    if (code < 0 || code >= kReportRateCount) {
        return;
    }
    for (int i = 0; i < kReportRateCount; ++i) {
        Button(kReportRateIds[i])->SetSelected(i == code, true);
    }
}

void DrawnKeyboard::OnReportRateButton(int code)
{
    SelectReportRate(code);
    // A failed write is not reported: the selection comes back from the keyboard on the next read.
    m_window.LightingControl().SetReportRate(code);
}

} // namespace tavrix::ui
