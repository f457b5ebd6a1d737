#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Our reader and writer of profile-string (INI) files, with the rules the language, skin and
// settings files are written for:
// - section and key names match without regard to (ASCII) case; the first matching section and
//   the first matching key in it win;
// - blanks around names and values are dropped, and one pair of matching quotes around a value
//   is removed, so a value can keep blanks at its ends;
// - a value is cut to 259 characters;
// - a missing file, section or key gives the default text;
// - files are UTF-8 (with or without BOM) or UTF-16LE with BOM; a rewritten file keeps its
//   encoding and line ends;
// - a file is decoded once per change: a file changed on disk is seen at the next call.
namespace tavrix::platform {

inline constexpr size_t kProfileStringMaxChars = 259;

// The value of key in section of the file at path, or defaultText (cut the same way).
std::string ReadPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultText,
                                     const std::string& path);

// Sets key in section to value, adding the section or key when missing and creating the file
// (UTF-8) when it does not exist. The file is replaced in one step. Fails, leaving the file as it
// was, when the folder is missing or not writable, when the file exists but cannot be read (it
// says so once), or when a name or the value holds a line break (or a name holds '=', '[' or
// ']', or is empty), which the file could not carry.
[[nodiscard]] bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                             const std::string& value, const std::string& path);

// The same two on a file's bytes already read: the value of key in section, and the bytes of the
// file with key in section set to value (nothing when the file could not carry it).
std::string ProfileStringIn(std::string_view bytes, const std::string& section, const std::string& key,
                            const std::string& defaultText);
std::optional<std::string> WithProfileString(std::string_view bytes, const std::string& section, const std::string& key,
                                             const std::string& value);

} // namespace tavrix::platform
