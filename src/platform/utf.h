#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text of the program is UTF-8 throughout; these helpers carry it to and from the UTF-16 files
// the desktop world writes, and count characters where a limit is given in characters.
namespace tavrix::platform {

// Decodes UTF-16LE bytes (without BOM); an odd last byte is dropped and an unpaired surrogate
// becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// Encodes UTF-8 text as UTF-16LE bytes (without BOM); malformed sequences become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// The same between UTF-16 text and UTF-8, with the same replacements.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// The longest prefix of the text that holds at most maxChars characters (code points), never
// cutting a character in two.
std::string_view CutToChars(std::string_view text, size_t maxChars);

// ASCII-only case-insensitive comparison, as the profile files and names need.
bool EqualsNoCase(std::string_view a, std::string_view b);

} // namespace tavrix::platform
