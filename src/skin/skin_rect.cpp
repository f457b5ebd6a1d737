#include "skin/skin_rect.h"

#include <charconv>

#include "platform/ini_file.h"

namespace tavrix::skin {

namespace {

// Reads one integer the way a "%d" conversion does: leading blanks, an optional sign, digits.
// Moves text past it; nothing when there is no number or it does not fit.
std::optional<int> TakeNumber(std::string_view& text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (text.size() > 1 && text.front() == '+' && text[1] >= '0' && text[1] <= '9') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

} // namespace

std::optional<SkinRect> ParseSkinRect(std::string_view text)
{
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != ',') {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
        const std::optional<int> number = TakeNumber(text);
        if (!number) {
            return std::nullopt;
        }
        numbers[i] = *number;
    }
    return SkinRect{numbers[0], numbers[1], numbers[2], numbers[3]};
}

SkinRect ReadSkinRect(const std::string& iniPath, const std::string& section, const std::string& key)
{
    const std::string value = platform::ReadPrivateProfileString(section, key, kDefaultSkinRect, iniPath);
    return ParseSkinRect(value).value_or(SkinRect{});
}

} // namespace tavrix::skin
