#include "skin/ini_file.h"

#include "platform/ini_file.h"

namespace tavrix::skin {

void CIniFile::SetFileName(const std::string& path)
{
    // The whole path is kept: a path cut short would quietly name another file.
    m_path = path;
}

std::optional<std::string> CIniFile::ReadString(const std::string& section, const std::string& key,
                                                const std::string& defaultText) const
{
    std::string value = platform::ReadPrivateProfileString(section, key, defaultText, m_path);
    if (value.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace tavrix::skin
