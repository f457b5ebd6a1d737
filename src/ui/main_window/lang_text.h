#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "skin/language.h"

namespace tavrix::ui {

// The text of key in the language file's TEXT section, in the language chosen now unless a
// language index is given.
inline QString LangText(std::string_view key, int languageIndex = skin::GetLanguageIndex())
{
    return QString::fromStdString(skin::LoadLangText(std::string(key), languageIndex));
}

} // namespace tavrix::ui
