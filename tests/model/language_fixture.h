#pragma once

#include <map>
#include <string>
#include <utility>

#include "model/key_names.h"

namespace tavrix::model::test {

// A few texts of a language file; anything else reads "#Error" as a missing text does.
inline TextLookup Language(std::map<std::string, std::u16string> texts)
{
    return [texts = std::move(texts)](std::string_view key) {
        const auto text = texts.find(std::string(key));
        return text == texts.end() ? std::u16string(u"#Error") : text->second;
    };
}

} // namespace tavrix::model::test
