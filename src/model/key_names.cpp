#include "model/key_names.h"

#include "model/key_catalogue.h"
#include "model/text_format.h"

namespace tavrix::model {

std::u16string KeyName(uint16_t code, const TextLookup& lookup, size_t capacity)
{
    const std::string_view nameKey = CatalogueRowOf(code).nameKey;
    std::u16string text = nameKey.empty() ? std::u16string() : lookup(nameKey);
    if (text.empty())
        text = FormatNumber(lookup("UNKNOWN_KEY"), code);
    text.resize(std::min(text.size(), capacity == 0 ? 0 : capacity - 1));
    return text;
}

std::u16string KeyNameAtListPosition(uint16_t listPosition, const TextLookup& lookup)
{
    const uint16_t code = KeyAtListPosition(listPosition);
    if (code == kNoKey)
        return {};
    const std::string_view nameKey = CatalogueRowOf(code).nameKey;
    return nameKey.empty() ? std::u16string() : lookup(nameKey);
}

} // namespace tavrix::model
