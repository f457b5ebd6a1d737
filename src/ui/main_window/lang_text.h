#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "model/key_names.h"
#include "skin/language.h"

namespace tavrix::ui {

// The text of key in the language file's TEXT section, in the language chosen now unless a
// language index is given.
inline QString LangText(std::string_view key, int languageIndex = skin::GetLanguageIndex())
{
    return QString::fromStdString(skin::LoadLangText(std::string(key), languageIndex));
}

// The look-up by which the model names keys: texts of the language index.
inline model::TextLookup LangLookup(int languageIndex)
{
    return [languageIndex](std::string_view key) { return LangText(key, languageIndex).toStdU16String(); };
}

} // namespace tavrix::ui
