#pragma once

#include <optional>
#include <string>
#include <string_view>

// The rectangle of a skinned control as its window's skin file gives it: "x,y,w,h" in client
// pixels, anything after the fourth number ignored.
namespace tavrix::skin {

// What a missing key (or file, or section) reads as: one pixel at (1, 1).
inline constexpr const char* kDefaultSkinRect = "1,1,1,1,x";

struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;
    bool operator==(const SkinRect&) const = default;
};

// The four leading numbers of text, or nothing when it does not start with four
// comma-separated integers.
[[nodiscard]] std::optional<SkinRect> ParseSkinRect(std::string_view text);

// The rectangle under key in section of the skin file at iniPath. A value that does not hold
// four numbers reads like a missing key: the default rectangle.
[[nodiscard]] SkinRect ReadSkinRect(const std::string& iniPath, const std::string& section, const std::string& key);

} // namespace tavrix::skin
