#pragma once

#include <deque>
#include <vector>

#include "controls/prompts.h"

// Prompts answered from a script; installed while the object lives. A prompt without a scripted
// answer takes its default: the message box's default button, cancel for the rest.
namespace tavrix::testing {

class ScriptedPrompts final : public controls::Prompts {
public:
    ScriptedPrompts() { controls::InstallPrompts(this); }
    ~ScriptedPrompts() override { controls::InstallPrompts(nullptr); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    controls::PromptResult MessageBox(QWidget* owner, const controls::MessageBoxRequest& request) override;
    std::optional<QString> OpenFileName(QWidget* owner, const controls::FileRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* owner, const controls::FileRequest& request) override;
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) override;
    int PopupMenu(QWidget* owner, const QPoint& globalPos, const std::vector<controls::MenuItem>& items) override;

    // Answers, taken front first.
    std::deque<controls::PromptResult> messageBoxAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<int> menuAnswers;

    // What was asked, in order.
    std::vector<controls::MessageBoxRequest> messageBoxes;
    std::vector<controls::FileRequest> openRequests;
    std::vector<controls::FileRequest> saveRequests;
    std::vector<QColor> colorRequests;
    std::vector<std::vector<controls::MenuItem>> menus;
};

} // namespace tavrix::testing
