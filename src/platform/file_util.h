#pragma once

#include <cstdint>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include <sys/types.h>
#include <time.h>

// Every file the program reads goes through FileReader, and every file it rewrites through
// WriteFileAtomically: whatever a path names (a FIFO, a device, a folder, a link to either, a
// huge sparse file), reading never blocks, never takes more memory than the caller allows, and
// ends in a ReadResult rather than an exception.
namespace tavrix::platform {

enum class ReadResult {
    Ok,
    Missing,    // nothing by that name
    CannotOpen, // something is there, but not a regular file, or it cannot be opened or read
    TooLarge,   // larger than the file may be
    NoMemory,
};

// Tells one version of a file from another: changing, replacing or chmod-ing a file changes its
// stamp.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
};

// A regular file open for reading. Folders, FIFOs, sockets and devices (also behind a link) are
// refused before they are read, and opening never waits for a writer.
class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    ~FileReader();

    [[nodiscard]] ReadResult Open(const std::string& path);
    // The size and stamp when it was opened (0 for files whose size the system does not know,
    // such as those in /proc).
    uint64_t Size() const { return static_cast<uint64_t>(m_stamp.size); }
    const FileStamp& Stamp() const { return m_stamp; }

    // Appends the next count bytes to bytes, fewer at the end of the file.
    template <typename Bytes> [[nodiscard]] ReadResult Append(uint64_t count, Bytes& bytes);
    // Replaces bytes by the whole file, read right after Open; TooLarge (and bytes empty) when
    // that is more than maxSize bytes.
    template <typename Bytes> [[nodiscard]] ReadResult ReadAll(uint64_t maxSize, Bytes& bytes);

private:
    template <typename Bytes> [[nodiscard]] ReadResult AppendUpTo(uint64_t maxSize, Bytes& bytes);

    // Reads at most size bytes; the count read (0 at the end), or -1 on an error.
    ssize_t ReadSome(void* buffer, size_t size);

    int m_fd = -1;
    FileStamp m_stamp;
};

// The whole file at path into bytes, when it is a regular file of at most maxSize bytes.
template <typename Bytes>
[[nodiscard]] ReadResult ReadWholeFile(const std::string& path, uint64_t maxSize, Bytes& bytes);

// The stamp of the file at path as it is now: Missing, CannotOpen (not a regular file) or Ok.
[[nodiscard]] ReadResult StampOf(const std::string& path, FileStamp& stamp);

// Writes the bytes to a new temporary file beside the target (unpredictable name, created
// exclusively, never through a link) and renames it over the target, so a crash or a full disk
// leaves the old file or the new one, never half of either. A target that existed keeps its
// permissions. The folder must exist. False on any failure; the target is then unchanged and no
// temporary file is left.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes);
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

// Creates the folder and its missing parents (mode 0700 for new ones); true when it exists
// afterwards.
[[nodiscard]] bool MakeFolders(const std::string& folder);

// Creates the folder (mode 0700, parents as needed) when missing, and accepts it only when it is
// a real folder (not a link), owned by this user and closed to everybody else, as a runtime
// folder must be.
[[nodiscard]] bool EnsurePrivateFolder(const std::string& folder);

// Tells the user, once per path and process, that a file which exists could not be read and is
// left as it is.
void ReportUnreadableFile(const std::string& path, ReadResult result);

template <typename Bytes> ReadResult FileReader::Append(uint64_t count, Bytes& bytes)
{
    const size_t start = bytes.size();
    try {
        bytes.resize(start + static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return ReadResult::NoMemory;
    } catch (const std::length_error&) {
        return ReadResult::NoMemory;
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ReadSome(bytes.data() + start + done, static_cast<size_t>(count) - done);
        if (got < 0) {
            bytes.resize(start);
            return ReadResult::CannotOpen;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    bytes.resize(start + done);
    return ReadResult::Ok;
}

template <typename Bytes> ReadResult FileReader::AppendUpTo(uint64_t maxSize, Bytes& bytes)
{
    constexpr uint64_t kChunk = 65536;
    for (;;) {
        const size_t before = bytes.size();
        if (before > maxSize) {
            return ReadResult::TooLarge;
        }
        // One byte more than may come is asked for, so a file that goes on past maxSize shows.
        const uint64_t left = maxSize - before + 1;
        const ReadResult result = Append(left < kChunk ? left : kChunk, bytes);
        if (result != ReadResult::Ok) {
            return result;
        }
        if (bytes.size() == before) {
            return ReadResult::Ok;
        }
    }
}

template <typename Bytes> ReadResult FileReader::ReadAll(uint64_t maxSize, Bytes& bytes)
{
    bytes.clear();
    if (Size() > maxSize) {
        return ReadResult::TooLarge;
    }
    // The size the file has now in one go, then whatever it grew by or the system did not count.
    ReadResult result = Append(Size(), bytes);
    if (result == ReadResult::Ok) {
        result = AppendUpTo(maxSize, bytes);
    }
    if (result != ReadResult::Ok) {
        bytes.clear();
    }
    return result;
}

template <typename Bytes> ReadResult ReadWholeFile(const std::string& path, uint64_t maxSize, Bytes& bytes)
{
    bytes.clear();
    FileReader file;
    const ReadResult opened = file.Open(path);
    return opened == ReadResult::Ok ? file.ReadAll(maxSize, bytes) : opened;
}

} // namespace tavrix::platform
