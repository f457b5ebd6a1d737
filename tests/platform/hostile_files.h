#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// What a path can name instead of the file the program expects: each subsystem that reads files
// runs its table test over these.
enum class Hostile {
    Unreadable, // a file with content, mode 000
    Fifo,       // opening it for reading would wait for a writer for ever
    Folder,
    LinkToDevice, // a link to /dev/zero, endless
    Huge,         // a sparse file of kHugeSize bytes
};

struct HostileCase {
    const char* name;
    Hostile kind;
};

inline constexpr std::array<HostileCase, 5> kHostileCases{{
    {"Unreadable", Hostile::Unreadable},
    {"Fifo", Hostile::Fifo},
    {"Folder", Hostile::Folder},
    {"LinkToDevice", Hostile::LinkToDevice},
    {"Huge", Hostile::Huge},
}};

inline constexpr uint64_t kHugeSize = 2ull << 30;

// Root reads and writes any file whatever its mode: while this object lives, the calling thread
// (the one the code under test runs on) gives that power up, so modes count as for any user.
class NoFileOverride {
public:
    NoFileOverride() { Set(false); }
    NoFileOverride(const NoFileOverride&) = delete;
    NoFileOverride& operator=(const NoFileOverride&) = delete;
    ~NoFileOverride() { Set(true); }

private:
    static void Set(bool on)
    {
        if (::geteuid() != 0) {
            return;
        }
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        ::syscall(SYS_capget, &header, data);
        const uint32_t bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        data[0].effective = on ? (data[0].effective | (bits & data[0].permitted)) : (data[0].effective & ~bits);
        ::syscall(SYS_capset, &header, data);
    }
};

// Puts the hostile thing at path, with content where it has any; an Unreadable file stays
// unreadable to this thread for the life of the object.
class HostileFile {
public:
    HostileFile(const std::string& path, Hostile kind, const std::string& content)
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
        switch (kind) {
        case Hostile::Unreadable:
            std::ofstream(path, std::ios::binary) << content;
            ::chmod(path.c_str(), 0);
            m_noOverride.emplace();
            break;
        case Hostile::Fifo:
            ::mkfifo(path.c_str(), 0600);
            break;
        case Hostile::Folder:
            std::filesystem::create_directories(path + "/inside", ignored);
            break;
        case Hostile::LinkToDevice:
            ::symlink("/dev/zero", path.c_str());
            break;
        case Hostile::Huge:
            std::ofstream(path, std::ios::binary) << content;
            ::truncate(path.c_str(), static_cast<off_t>(kHugeSize));
            break;
        }
    }

private:
    std::optional<NoFileOverride> m_noOverride;
};

// What is at path, for showing that nothing there changed: kind, mode, size, identity and time
// of the last change, and the bytes of a regular file that can be read.
inline std::string Fingerprint(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return "missing";
    }
    std::string print = std::to_string(info.st_mode) + "/" + std::to_string(info.st_size) + "/" +
                        std::to_string(info.st_ino) + "/" + std::to_string(info.st_mtim.tv_sec) + "." +
                        std::to_string(info.st_mtim.tv_nsec);
    if (S_ISREG(info.st_mode) && info.st_size < (1 << 20)) {
        std::ifstream in(path, std::ios::binary);
        print += "/" + std::string(std::istreambuf_iterator<char>(in), {});
    }
    return print;
}

// Bytes this process has read so far, to show how much of a huge file was read.
inline uint64_t BytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    std::string field;
    uint64_t value = 0;
    while (io >> field >> value) {
        if (field == "rchar:") {
            return value;
        }
    }
    return 0;
}
