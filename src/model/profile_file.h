#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/config_model.h"

namespace tavrix::model {

// What the profile-file operations need from the user interface.
class ProfileFileHost {
public:
    virtual ~ProfileFileHost() = default;
    // The language text of the key.
    virtual std::u16string Text(std::string_view key) const = 0;
    virtual void ShowMessage(const std::u16string& text) = 0;
};

// The path as the user should read it in a message, even when it is not valid UTF-8.
std::u16string PathText(const std::filesystem::path& path);

// The program's folder in the local application-data folder (platform::ProgramDataFolder).
std::filesystem::path DataFolder();
// "$Profile0" in the data folder: the model as last read from the keyboard or last applied,
// whatever profile is current.
std::filesystem::path CacheFilePath();
// Creates the data folder (private to the user) when missing; true when it exists afterwards.
[[nodiscard]] bool EnsureDataFolder();

// Results of ValidateProfileFile; callers treat everything but kProfileValid as a failure.
inline constexpr int kProfileValid = 1;
inline constexpr int kProfileInvalid = 0;
inline constexpr int kProfileCannotOpen = -2;
inline constexpr int kProfileNoMemory = -3;

// Checks that the file is a whole, readable profile file. A file that is missing, cannot be
// opened, is below 32832 bytes or 4 GiB or more fails without a message; any other fault shows
// "PROFILE_FORMAT_ERROR" formatted with the path.
[[nodiscard]] int ValidateProfileFile(const std::filesystem::path& path, ProfileFileHost& host);
// The same check of a file's bytes already read; path only names the file in the message.
[[nodiscard]] int ValidateProfileBytes(std::span<const uint8_t> bytes, const std::filesystem::path& path,
                                       ProfileFileHost& host);

// Replaces the model with the file's contents. False, and the model unchanged, when the file is
// missing, unreadable or not a valid profile file. Call with the model lock held.
[[nodiscard]] bool LoadProfileFile(const std::filesystem::path& path, ConfigModel& model);
// The same from a file's bytes already read.
[[nodiscard]] bool LoadProfileBytes(std::span<const uint8_t> bytes, ConfigModel& model);

// Packs the texts of slots of types 3 and 6 into a text pool, in slot order, and points each such
// slot's value at its text; a slot of those types without a text gets an empty one, so the file
// never refers outside its pool. Rewrites the image's header for the store's macro count and
// the pool, flag 0.
std::vector<uint8_t> PackEntryTexts(ModelImage& image, const EntryTexts& texts, size_t macroCount);

// The profile file of the model; packs the texts as PackEntryTexts does.
std::vector<uint8_t> EncodeProfileFile(ConfigModel& model);

// Writes the model to the file, replacing it whole. Call with the model lock held.
[[nodiscard]] bool SaveModelToFile(ConfigModel& model, const std::filesystem::path& path);
// Rewrites the cache file, only when it exists already.
[[nodiscard]] bool SaveCacheFile(ConfigModel& model);

// Makes the model empty: a new image with the given flag, no macros, no texts.
void NewModel(ConfigModel& model, uint8_t flag);
// Writes an empty model with the given flag to the file.
[[nodiscard]] bool WriteNewModelFile(const std::filesystem::path& path, uint8_t flag);

} // namespace tavrix::model
