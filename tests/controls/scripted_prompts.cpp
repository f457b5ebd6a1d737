#include "scripted_prompts.h"

namespace tavrix::testing {

namespace {

template <typename T> T TakeOr(std::deque<T>& answers, T fallback)
{
    if (answers.empty()) {
        return fallback;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

controls::PromptResult ScriptedPrompts::MessageBox(QWidget*, const controls::MessageBoxRequest& request)
{
    messageBoxes.push_back(request);
    return TakeOr(messageBoxAnswers, request.defaultButton);
}

std::optional<QString> ScriptedPrompts::OpenFileName(QWidget*, const controls::FileRequest& request)
{
    openRequests.push_back(request);
    return TakeOr<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<QString> ScriptedPrompts::SaveFileName(QWidget*, const controls::FileRequest& request)
{
    saveRequests.push_back(request);
    return TakeOr<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<QColor> ScriptedPrompts::ChooseColor(QWidget*, const QColor& initial)
{
    colorRequests.push_back(initial);
    return TakeOr<std::optional<QColor>>(colorAnswers, std::nullopt);
}

int ScriptedPrompts::PopupMenu(QWidget*, const QPoint&, const std::vector<controls::MenuItem>& items)
{
    menus.push_back(items);
    return TakeOr(menuAnswers, 0);
}

} // namespace tavrix::testing
