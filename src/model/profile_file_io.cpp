#include "model/profile_file_io.h"

#include "platform/file_util.h"

namespace tavrix::model {

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    return platform::WriteFileAtomically(path, bytes);
}

} // namespace tavrix::model
