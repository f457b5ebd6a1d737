#pragma once

#include <string>

// The record-delay setting: whether a recording keeps the measured pauses ("1") or gives every
// action the fixed 50 ms ("0"). It is a per-user profile string whose value name is the current
// language's text for it, so after a change of language it reads as absent until it is written
// again. Free of Qt.
namespace tavrix::ui {

// 1 when the value under valueName is "1"; 0 for anything else and when it is absent.
[[nodiscard]] int ReadRecordDelay(const std::string& valueName);
// Stores "1" for the state 1 and "0" for any other; a failure is not reported.
void WriteRecordDelay(const std::string& valueName, int state);

} // namespace tavrix::ui
