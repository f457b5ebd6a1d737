#pragma once

#include <optional>
#include <string>

// A window's reader of its own skin file.
namespace tavrix::skin {

class CIniFile {
public:
    void SetFileName(const std::string& path);
    [[nodiscard]] const std::string& FileName() const { return m_path; }

    // The value under key in section, or defaultText when the key is missing; nothing when that
    // value is empty.
    [[nodiscard]] std::optional<std::string> ReadString(const std::string& section, const std::string& key,
                                                        const std::string& defaultText) const;

private:
    std::string m_path;
};

} // namespace tavrix::skin
