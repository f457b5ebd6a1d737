#pragma once

#include <string>

// The application framework's per-user profile strings, kept in the registry store under
// Software\<company>\<application title>\<section>. Until SetRegistryKey is called there is no
// store: reads give the default and writes fail.
namespace tavrix::platform {

void SetRegistryKey(const std::string& company, const std::string& applicationTitle);

// The key path that holds the section, or empty before SetRegistryKey.
std::string ProfileSectionKey(const std::string& section);

// The string stored under entry, or defaultText when it (or the section) is absent.
std::string GetProfileString(const std::string& section, const std::string& entry, const std::string& defaultText);

// Stores the string, creating the section's key when needed.
[[nodiscard]] bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);

} // namespace tavrix::platform
