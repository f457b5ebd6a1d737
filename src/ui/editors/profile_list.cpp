#include "ui/editors/profile_list.h"

namespace tavrix::ui {

namespace {

ProfileRow RowFor(int profile, const std::filesystem::path& file)
{
    return {profile, file.stem().string(), file.parent_path().string()};
}

std::string SettingName(int number)
{
    return "PROFILE0" + std::to_string(number);
}

} // namespace

void ProfileList::Open(int profileCount, const std::filesystem::path& cacheFile, int activeProfile)
{
    m_rows.clear();
    for (int profile = 0; profile < profileCount; ++profile) {
        m_rows.push_back(RowFor(profile, cacheFile));
    }
    m_activeProfile = activeProfile;
}

void ProfileList::AddFile(const std::filesystem::path& file)
{
    m_rows.push_back(RowFor(-1, file));
}

int ProfileList::Delete(int row)
{
    if (row < 0 || row >= Count()) {
        return -1;
    }
    m_rows.erase(m_rows.begin() + row);
    return row < Count() ? row : Count() - 1;
}

bool ProfileList::IsActive(int row) const
{
    return row >= 0 && row < Count() && m_activeProfile >= 0 && Row(row).profile == m_activeProfile;
}

int ProfileList::RowOf(int profile) const
{
    for (int row = 0; profile >= 0 && row < Count(); ++row) {
        if (Row(row).profile == profile) {
            return row;
        }
    }
    return -1;
}

std::vector<std::pair<std::string, std::string>> ProfileList::SettingsValues() const
{
    std::vector<std::pair<std::string, std::string>> values{{SettingName(0), std::to_string(m_rows.size())}};
    if (!m_rows.empty()) {
        const ProfileRow& last = m_rows.back();
        values.emplace_back(SettingName(1), last.folder);
        values.emplace_back(SettingName(2), last.name);
        values.emplace_back(SettingName(3), ".fwc");
    }
    return values;
}

} // namespace tavrix::ui
