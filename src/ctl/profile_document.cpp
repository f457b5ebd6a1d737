#include "ctl/profile_document.h"

#include <new>
#include <vector>

#include "model/profile_file.h"
#include "model/profile_json.h"
#include "platform/file_util.h"
#include "platform/utf.h"

namespace tavrix::ctl {

namespace {

// Far beyond the largest model in either kind (about 12 MB of JSON).
constexpr uint64_t kMaxDocumentSize = 64 * 1024 * 1024;

bool EndsWithNoCase(const std::string& path, std::string_view suffix)
{
    return path.size() > suffix.size() &&
           platform::EqualsNoCase(std::string_view(path).substr(path.size() - suffix.size()), suffix);
}

std::string ReadFailure(platform::ReadResult result)
{
    switch (result) {
    case platform::ReadResult::Missing:
        return "no such file";
    case platform::ReadResult::TooLarge:
        return "larger than any profile file";
    case platform::ReadResult::NoMemory:
        return "out of memory";
    default:
        return "cannot be read";
    }
}

} // namespace

std::optional<DocumentKind> KindOf(const std::string& path)
{
    if (EndsWithNoCase(path, ".fwc"))
        return DocumentKind::Binary;
    if (EndsWithNoCase(path, ".json"))
        return DocumentKind::Json;
    return std::nullopt;
}

bool LoadDocument(const std::string& path, model::ConfigModel& model, model::ProfileLighting& lighting,
                  std::string& message)
{
    const std::optional<DocumentKind> kind = KindOf(path);
    std::string bytes;
    if (const platform::ReadResult read = platform::ReadWholeFile(path, kMaxDocumentSize, bytes);
        read != platform::ReadResult::Ok) {
        message = path + ": " + ReadFailure(read);
        return false;
    }
    if (kind == DocumentKind::Json) {
        model::ProfileJsonError error;
        if (!model::DecodeProfileJson(bytes, model, lighting, error)) {
            message = path + ": " + error.Message();
            return false;
        }
        return true;
    }
    const std::span<const uint8_t> file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!model::LoadProfileBytes(file, model)) {
        message = path + ": not a valid profile file";
        return false;
    }
    lighting = {};
    return true;
}

bool SaveDocument(const std::string& path, model::ConfigModel& model, const model::ProfileLighting& lighting,
                  std::string& message)
{
    bool saved = false;
    if (KindOf(path) == DocumentKind::Json) {
        std::string text;
        model::ProfileJsonError error;
        if (!model::EncodeProfileJson(model, lighting, text, error)) {
            message = path + ": not written, the configuration holds what JSON refuses: " + error.Message();
            return false;
        }
        saved = platform::WriteFileAtomically(path, text);
    } else {
        saved = model::SaveModelToFile(model, path);
    }
    if (!saved)
        message = path + ": cannot be written";
    return saved;
}

} // namespace tavrix::ctl
