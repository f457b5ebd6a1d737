#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/file_util.h"

namespace tavrix::platform {

// The parsed content of files that are looked up often and change seldom (settings, language
// and skin files). A file is read and parsed again only when its stamp changed since it was last
// read, so an edit on disk is still seen at the next lookup; a lookup otherwise costs one stat.
template <typename Parsed> class FileCache {
public:
    using Parse = Parsed (*)(std::string_view bytes);

    struct Content {
        ReadResult result = ReadResult::Missing;
        std::shared_ptr<const Parsed> parsed; // set when result is Ok
    };

    FileCache(uint64_t maxSize, Parse parse) : m_maxSize(maxSize), m_parse(parse) {}

    Content Get(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        FileStamp now;
        const ReadResult kind = StampOf(path, now);
        if (kind != ReadResult::Ok) {
            m_entries.erase(path);
            return {kind, nullptr};
        }
        const auto found = m_entries.find(path);
        if (found != m_entries.end() && found->second.trusted && found->second.stamp == now) {
            return found->second.content;
        }
        Entry& entry = m_entries[path];
        entry = Read(path, now);
        return entry.content;
    }

private:
    struct Entry {
        FileStamp stamp;
        // False when the file changed in the clock tick it was read in: a second change in that
        // tick could leave the stamp as it was, so the next lookup reads it again.
        bool trusted = false;
        Content content;
    };

    // stamp: the file's as it was looked at, kept when it cannot be opened, so a file that cannot
    // be read is not tried again until it changes.
    Entry Read(const std::string& path, const FileStamp& stamp) const
    {
        timespec readStart{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &readStart);
        Entry entry;
        FileReader file;
        std::string bytes;
        entry.content.result = file.Open(path);
        if (entry.content.result == ReadResult::Ok) {
            entry.content.result = file.ReadAll(m_maxSize, bytes);
        }
        entry.stamp = entry.content.result == ReadResult::CannotOpen ? stamp : file.Stamp();
        const timespec& changed = entry.stamp.changed;
        entry.trusted = changed.tv_sec < readStart.tv_sec ||
                        (changed.tv_sec == readStart.tv_sec && changed.tv_nsec < readStart.tv_nsec);
        if (entry.content.result == ReadResult::Ok) {
            try {
                entry.content.parsed = std::make_shared<const Parsed>(m_parse(bytes));
            } catch (const std::bad_alloc&) {
                entry.content = {ReadResult::NoMemory, nullptr};
            }
        }
        return entry;
    }

    const uint64_t m_maxSize;
    const Parse m_parse;
    std::mutex m_mutex;
    std::map<std::string, Entry> m_entries;
};

} // namespace tavrix::platform
