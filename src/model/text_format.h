#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrix::model {

// Fills the first number conversion of a printf-style text with value: %d, %i, %u, %x, %X with
// optional '-' and '0' flags and a width. "%%" gives '%'. The text comes from a language file,
// so anything else, a second conversion included, is copied as written rather than trusted.
std::u16string FormatNumber(std::u16string_view format, uint32_t value);

// Puts the text argument in place of the first %s (or %ls, %S) of a language text; "%%" gives
// '%', anything else is copied as written.
std::u16string FormatWithText(std::u16string_view format, std::u16string_view argument);

} // namespace tavrix::model
