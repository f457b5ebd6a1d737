#include "platform/file_util.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrix::platform {

namespace {

constexpr int kTemporaryNameAttempts = 16;

bool WriteAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileStamp StampFrom(const struct stat& info)
{
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// 16 hex digits nobody can guess, so no one can plant something at the name beforehand.
std::string RandomSuffix()
{
    uint64_t value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value)) {
        std::random_device device;
        value = (static_cast<uint64_t>(device()) << 32) ^ device();
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Creates a new hidden file beside the target, exclusively and without following links; its
// path goes to temporary. -1 when none could be made.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& temporary)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = folder + "/." + name + "." + RandomSuffix() + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Makes the rename itself survive a power cut; a folder that cannot be synced changes nothing.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    ::fsync(fd);
    ::close(fd);
}

const char* Reason(ReadResult result)
{
    switch (result) {
    case ReadResult::TooLarge:
        return "it is too large";
    case ReadResult::NoMemory:
        return "memory ran short";
    case ReadResult::Ok:
    case ReadResult::Missing:
    case ReadResult::CannotOpen:
        break;
    }
    return "it is not a readable regular file";
}

} // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return device == other.device && inode == other.inode && size == other.size && SameTime(modified, other.modified) &&
           SameTime(changed, other.changed);
}

FileReader::~FileReader()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

ReadResult FileReader::Open(const std::string& path)
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    // Looked at before opening, so a device is never opened at all; checked again on the open
    // file, which may have been swapped in between.
    FileStamp before;
    const ReadResult kind = StampOf(path, before);
    if (kind != ReadResult::Ok) {
        return kind;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::CannotOpen;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ReadResult::CannotOpen;
    }
    m_fd = fd;
    m_stamp = StampFrom(info);
    return ReadResult::Ok;
}

ssize_t FileReader::ReadSome(void* buffer, size_t size)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

ReadResult StampOf(const std::string& path, FileStamp& stamp)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        return ReadResult::CannotOpen;
    }
    stamp = StampFrom(info);
    return ReadResult::Ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) {
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporary(folder, name, temporary);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    bool ok = ::stat(path.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes)
{
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty() || IsFolder(folder)) {
        return !folder.empty();
    }
    const size_t slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || IsFolder(folder);
}

bool EnsurePrivateFolder(const std::string& folder)
{
    if (!MakeFolders(folder)) {
        return false;
    }
    // lstat: a link is refused, whatever it points at.
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

void ReportUnreadableFile(const std::string& path, ReadResult result)
{
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    if (!reported.insert(path).second) {
        return;
    }
    std::fprintf(stderr, "%s: %s cannot be read (%s); it is left as it is.\n", program_invocation_short_name,
                 path.c_str(), Reason(result));
}

} // namespace tavrix::platform
