#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "model/key_names.h"
#include "model/text_format.h"
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

// The name the windows give the keyboard's profile (0..2): "Profile 1" to "Profile 3".
inline QString ProfileLabel(int profile, int languageIndex = skin::GetLanguageIndex())
{
    const std::u16string format = LangText("PROFILE_NUMBER", languageIndex).toStdU16String();
    return QString::fromStdU16String(model::FormatNumber(format, static_cast<uint32_t>(profile + 1)));
}

} // namespace tavrix::ui
