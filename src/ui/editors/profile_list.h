#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The profile manager's list: a row for each of the keyboard's profiles, then the profile files
// the user added or loaded, and which profile is active. Free of Qt.
namespace tavrix::ui {

struct ProfileRow {
    // The keyboard's profile the row stands for; -1 for a file the user named.
    int profile = -1;
    // The file's name without folder and extension, and its folder.
    std::string name;
    std::string folder;
};

class ProfileList {
public:
    // One row for each of profileCount profiles, every one kept in cacheFile; activeProfile is
    // the keyboard's current one (-1 while unknown).
    void Open(int profileCount, const std::filesystem::path& cacheFile, int activeProfile);
    // A row for the file at the end of the list.
    void AddFile(const std::filesystem::path& file);
    // Removes the row and returns the row to select in its place: the one that followed it, or the
    // one before when it was the last; -1 when the list is empty (or row is no row).
    int Delete(int row);

    void SetActiveProfile(int profile) { m_activeProfile = profile; }
    [[nodiscard]] bool IsActive(int row) const;
    // The row of the keyboard's profile; -1 when the list has none (or profile is -1).
    [[nodiscard]] int RowOf(int profile) const;
    [[nodiscard]] int Count() const { return static_cast<int>(m_rows.size()); }
    [[nodiscard]] const ProfileRow& Row(int row) const { return m_rows.at(static_cast<size_t>(row)); }

    // What the list leaves in the settings section: "PROFILE00" the number of rows, "PROFILE01" to
    // "PROFILE03" the folder, name and extension of the last row (none of them when it is empty).
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> SettingsValues() const;

private:
    std::vector<ProfileRow> m_rows;
    int m_activeProfile = -1;
};

} // namespace tavrix::ui
