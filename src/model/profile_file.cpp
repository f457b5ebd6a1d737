#include "model/profile_file.h"

#include <memory>
#include <new>
#include <optional>

#include "model/little_endian.h"
#include "model/profile_file_io.h"
#include "model/text_format.h"
#include "platform/file_util.h"
#include "platform/folders.h"

namespace tavrix::model {

namespace {

constexpr const char* kCacheFileName = "$Profile0";
// Files of 4 GiB or more cannot be profile files: the header's sizes are 32-bit.
constexpr uint64_t kMaxProfileFileSize = 0xFFFFFFFFu;

bool HasText(const KeyAssignment& slot)
{
    return slot.type == kTypeDefaultWithText || slot.type == kTypeNoOutputWithText;
}

bool HeaderIsValid(const ProfileFileHeader& header, std::span<const uint8_t> bytes)
{
    return header.magic == kProfileMagic && header.headerSize == ProfileFileHeader::kSize &&
           header.formatMajor == kProfileFormatMajor && header.formatMinor == kProfileFormatMinor &&
           header.totalSize >= ModelImage::kSize && header.slotCount == kSlotCount && header.macroCount <= kMaxMacros &&
           header.flag < 2 && header.totalSize == ProfileFileSize(header.macroCount, header.textPoolSize) &&
           bytes[ProfileFileHeader::kSumOffset] == ProfileFileHeader::Sum(bytes.first<ProfileFileHeader::kSize>());
}

// The zero-terminated text at the byte offset of the pool; false when the offset lies outside the
// pool or the text runs to its end without a terminator.
bool ReadPoolText(std::span<const uint8_t> pool, uint32_t offset, std::u16string& text)
{
    ByteReader reader(pool, offset);
    text.clear();
    uint16_t unit = 0;
    while (reader.Read16(unit)) {
        if (unit == 0)
            return true;
        text.push_back(static_cast<char16_t>(unit));
    }
    return false;
}

// The file's bytes: the model image first, and the rest only when the header is sound and the
// file holds the total the header claims, so a huge file with a damaged header is refused after
// its first 32832 bytes. kProfileValid when read (the content still to be checked); otherwise the
// result of ValidateProfileFile, which shows no message for it.
int ReadProfileBytes(const std::filesystem::path& path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    platform::FileReader file;
    const platform::ReadResult opened = file.Open(path);
    if (opened != platform::ReadResult::Ok)
        return opened == platform::ReadResult::Missing ? kProfileInvalid : kProfileCannotOpen;
    if (file.Size() < ModelImage::kSize || file.Size() > kMaxProfileFileSize)
        return kProfileInvalid;
    platform::ReadResult result = file.Append(ModelImage::kSize, bytes);
    if (result == platform::ReadResult::Ok && bytes.size() == ModelImage::kSize) {
        const ProfileFileHeader header = ProfileFileHeader::Decode(std::span(bytes).first<ProfileFileHeader::kSize>());
        if (HeaderIsValid(header, bytes) && header.totalSize <= file.Size())
            result = file.Append(header.totalSize - ModelImage::kSize, bytes);
    }
    if (result == platform::ReadResult::Ok)
        return kProfileValid;
    return result == platform::ReadResult::NoMemory ? kProfileNoMemory : kProfileCannotOpen;
}

// The header of a file whose header holds and whose bytes hold the total it claims, before
// anything else is decoded.
std::optional<ProfileFileHeader> ValidHeader(std::span<const uint8_t> bytes)
{
    if (bytes.size() < ModelImage::kSize)
        return std::nullopt;
    const ProfileFileHeader header = ProfileFileHeader::Decode(bytes.first<ProfileFileHeader::kSize>());
    if (!HeaderIsValid(header, bytes) || bytes.size() < header.totalSize)
        return std::nullopt;
    return header;
}

// Decodes a whole profile file with a valid header into a new model; nothing at the first fault.
// The model is built around its decoded image: the image is large, and a default one would only
// be overwritten. May throw std::bad_alloc.
std::unique_ptr<ConfigModel> ParseProfileFile(std::span<const uint8_t> bytes, const ProfileFileHeader& header)
{
    std::unique_ptr<ConfigModel> model(new ConfigModel{.image = ModelImage::Decode(bytes.first<ModelImage::kSize>())});

    std::vector<MacroRecord> macros;
    macros.reserve(header.macroCount);
    for (size_t i = 0; i < header.macroCount; ++i) {
        const auto recordBytes = bytes.subspan(ModelImage::kSize + i * MacroRecord::kSize).first<MacroRecord::kSize>();
        macros.push_back(MacroRecord::Decode(recordBytes));
        if (macros.back().actionCount > kMaxMacroActions)
            return nullptr;
    }
    if (!model->macros.Assign(std::move(macros)))
        return nullptr;

    const auto pool = bytes.subspan(ProfileFileSize(header.macroCount, 0), header.textPoolSize);
    std::u16string text;
    size_t index = 0;
    for (const ProfileBlock& block : model->image.blocks) {
        for (const KeyAssignment& slot : block) {
            const size_t slotIndex = index++;
            if (!HasText(slot))
                continue;
            if (!ReadPoolText(pool, slot.value & ~1u, text))
                return nullptr;
            model->texts.Set(slotIndex, text);
        }
    }
    return model;
}

} // namespace

std::u16string PathText(const std::filesystem::path& path)
{
    try {
        return path.u16string();
    } catch (const std::exception&) {
        // Not UTF-8: show its bytes one by one rather than nothing.
        std::u16string text;
        for (const char byte : path.native())
            text.push_back(static_cast<unsigned char>(byte));
        return text;
    }
}

std::filesystem::path DataFolder()
{
    return platform::ProgramDataFolder();
}

std::filesystem::path CacheFilePath()
{
    return DataFolder() / kCacheFileName;
}

bool EnsureDataFolder()
{
    return platform::MakeFolders(DataFolder().string());
}

int ValidateProfileFile(const std::filesystem::path& path, ProfileFileHost& host)
{
    std::vector<uint8_t> bytes;
    if (const int read = ReadProfileBytes(path, bytes); read != kProfileValid)
        return read;
    return ValidateProfileBytes(bytes, path, host);
}

int ValidateProfileBytes(std::span<const uint8_t> bytes, const std::filesystem::path& path, ProfileFileHost& host)
{
    if (bytes.size() < ModelImage::kSize)
        return kProfileInvalid;
    try {
        const std::optional<ProfileFileHeader> header = ValidHeader(bytes);
        if (header && ParseProfileFile(bytes, *header))
            return kProfileValid;
    } catch (const std::bad_alloc&) {
        return kProfileNoMemory;
    }
    host.ShowMessage(FormatWithText(host.Text("PROFILE_FORMAT_ERROR"), PathText(path)));
    return kProfileInvalid;
}

bool LoadProfileFile(const std::filesystem::path& path, ConfigModel& model)
{
    std::vector<uint8_t> bytes;
    if (ReadProfileBytes(path, bytes) != kProfileValid)
        return false;
    return LoadProfileBytes(bytes, model);
}

bool LoadProfileBytes(std::span<const uint8_t> bytes, ConfigModel& model)
{
    try {
        const std::optional<ProfileFileHeader> header = ValidHeader(bytes);
        if (!header)
            return false;
        const std::unique_ptr<ConfigModel> loaded = ParseProfileFile(bytes, *header);
        if (!loaded)
            return false;
        model = std::move(*loaded);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::vector<uint8_t> PackEntryTexts(ModelImage& image, const EntryTexts& texts, size_t macroCount)
{
    std::vector<uint8_t> pool;
    for (size_t i = 0; i < kSlotCount; ++i) {
        KeyAssignment& slot = image.Slot(i);
        if (!HasText(slot))
            continue;
        // Every text takes an even number of bytes, so each offset is even as the format wants.
        slot.value = static_cast<uint32_t>(pool.size());
        const std::u16string* text = texts.Text(i);
        const std::u16string_view units = text ? std::u16string_view(*text) : std::u16string_view();
        pool.resize(pool.size() + (units.size() + 1) * sizeof(char16_t), 0);
        for (size_t k = 0; k < units.size(); ++k)
            Put16(pool, slot.value + 2 * k, static_cast<uint16_t>(units[k]));
    }
    ProfileFileHeader& header = image.header;
    header.macroCount = static_cast<uint16_t>(macroCount);
    header.textPoolSize = static_cast<uint32_t>(pool.size());
    header.totalSize = static_cast<uint32_t>(ProfileFileSize(macroCount, pool.size()));
    header.flag = 0;
    return pool;
}

std::vector<uint8_t> EncodeProfileFile(ConfigModel& model)
{
    const std::vector<uint8_t> pool = PackEntryTexts(model.image, model.texts, model.macros.Count());
    std::vector<uint8_t> bytes(ProfileFileSize(model.macros.Count(), pool.size()));
    const std::span<uint8_t> out(bytes);
    model.image.Encode(out.first<ModelImage::kSize>());
    size_t offset = ModelImage::kSize;
    for (const MacroRecord& record : model.macros.Records()) {
        record.Encode(out.subspan(offset).first<MacroRecord::kSize>());
        offset += MacroRecord::kSize;
    }
    std::copy(pool.begin(), pool.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

bool SaveModelToFile(ConfigModel& model, const std::filesystem::path& path)
{
    try {
        return WriteFileReplacing(path, EncodeProfileFile(model));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SaveCacheFile(ConfigModel& model)
{
    std::error_code error;
    const std::filesystem::path path = CacheFilePath();
    return std::filesystem::exists(path, error) && SaveModelToFile(model, path);
}

void NewModel(ConfigModel& model, uint8_t flag)
{
    model.image = NewModelImage(flag);
    model.macros.Clear();
    model.texts.ClearAll();
}

bool WriteNewModelFile(const std::filesystem::path& path, uint8_t flag)
{
    std::vector<uint8_t> bytes(ModelImage::kSize);
    NewModelImage(flag).Encode(std::span<uint8_t>(bytes).first<ModelImage::kSize>());
    return WriteFileReplacing(path, bytes);
}

} // namespace tavrix::model
