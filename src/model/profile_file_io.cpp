#include "model/profile_file_io.h"

#include <atomic>
#include <cerrno>
#include <fstream>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrix::model {

namespace {

// A name in the target's folder that no other live writer uses; a file of that name left by a
// crashed process with the same id is simply overwritten.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& path)
{
    static std::atomic<unsigned> counter{0};
    const std::string suffix = ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return path.parent_path() / ("." + path.filename().string() + suffix);
}

bool WriteAll(int fd, std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return true;
}

// Creates the temporary file (mode from the umask, or the old target's), writes and flushes it.
bool WriteTemporary(const std::filesystem::path& temporary, const std::filesystem::path& target,
                    std::span<const uint8_t> bytes)
{
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0)
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Makes the rename itself survive a power cut; a folder that cannot be synced changes nothing.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    if (path.filename().empty())
        return false;
    const std::filesystem::path temporary = TemporaryPathFor(path);
    if (WriteTemporary(temporary, path, bytes) && ::rename(temporary.c_str(), path.c_str()) == 0) {
        SyncFolder(path.parent_path());
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

ReadResult ReadWholeFile(const std::filesystem::path& path, uint64_t maxSize, std::vector<uint8_t>& bytes)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return ReadResult::Missing;
    // Only a regular file: opening a pipe or a device could block or never end.
    if (!std::filesystem::is_regular_file(path, error))
        return ReadResult::CannotOpen;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return ReadResult::CannotOpen;
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error)
        return ReadResult::CannotOpen;
    if (size > maxSize)
        return ReadResult::TooLarge;
    try {
        bytes.assign(static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return ReadResult::NoMemory;
    }
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // The file may have shrunk since its size was taken: keep only what was read.
    bytes.resize(static_cast<size_t>(file.gcount()));
    return ReadResult::Ok;
}

}  // namespace tavrix::model
