#include "sim/sim_faults.h"

#include <algorithm>
#include <charconv>
#include <span>

namespace tavrix::dexlink {

namespace {

constexpr int kMaxDelayMs = 60000;
constexpr int kMaxCount = 1000000;

constexpr std::string_view kBlanks = " \t\r\n";

// Why an item is ignored; empty when it was understood.
using Problem = std::string;

std::string_view Trimmed(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t begin = text.find_first_not_of(kBlanks, start);
        if (begin == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(kBlanks, begin), text.size());
        words.push_back(text.substr(begin, end - begin));
        start = end;
    }
    return words;
}

// A whole word as a number: hexadecimal after "0x", decimal otherwise.
std::optional<long> Number(std::string_view word)
{
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
        base = 16;
    }
    long value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> InRange(std::optional<long> value, long low, long high)
{
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<int> Byte(std::string_view word)
{
    return InRange(Number(word), 0, 0xFF);
}

// "always" or "xN".
std::optional<int> Count(std::string_view word)
{
    if (word == "always") {
        return kEveryReply;
    }
    if (word.size() < 2 || word[0] != 'x') {
        return std::nullopt;
    }
    return InRange(Number(word.substr(1)), 1, kMaxCount);
}

std::optional<int> Milliseconds(std::string_view word)
{
    if (word.ends_with("ms")) {
        word.remove_suffix(2);
    }
    return InRange(Number(word), 0, kMaxDelayMs);
}

class ItemParser {
public:
    ItemParser(std::span<const std::string_view> words, SimFaultSettings& settings)
        : m_words(words), m_settings(settings)
    {
    }

    Problem Parse()
    {
        const std::string_view kind = m_words[0];
        if (kind == "profile") {
            return ParseProfile();
        }
        if (kind == "unplug") {
            return ParseUnplug();
        }
        const std::optional<int> command = m_words.size() >= 2 ? Byte(m_words[1]) : std::nullopt;
        if (!command) {
            return "a command code (0x00..0xFF) must follow \"" + std::string(kind) + "\"";
        }
        CommandFault fault;
        fault.command = static_cast<uint8_t>(*command);
        std::size_t next = 2;
        if (kind == "drop") {
            fault.fault = {ReplyFault::Kind::Drop};
        } else if (kind == "echo") {
            fault.fault = {ReplyFault::Kind::OtherCommand};
        } else if (kind == "delay") {
            const std::optional<int> ms = m_words.size() > next ? Milliseconds(m_words[next]) : std::nullopt;
            if (!ms) {
                return "delay needs milliseconds (0..60000) after the command code";
            }
            fault.fault = {ReplyFault::Kind::Delay, *ms * 1000};
            ++next;
        } else if (kind == "refuse") {
            fault.fault = {ReplyFault::Kind::Status, 0xFF};
            if (m_words.size() > next && !Count(m_words[next])) {
                const std::optional<int> status = Byte(m_words[next]);
                if (!status) {
                    return "refuse takes a status byte such as 0xFF or 0xFE";
                }
                fault.fault.value = *status;
                ++next;
            }
        } else {
            return "unknown fault \"" + std::string(kind) + "\"";
        }
        if (m_words.size() > next) {
            const std::optional<int> count = Count(m_words[next]);
            if (!count) {
                return "a count is \"xN\" (N from 1) or \"always\", not \"" + std::string(m_words[next]) + "\"";
            }
            fault.count = *count;
            ++next;
        }
        if (m_words.size() > next) {
            return "unexpected \"" + std::string(m_words[next]) + "\"";
        }
        m_settings.faults.push_back(fault);
        return {};
    }

private:
    Problem ParseProfile()
    {
        const std::optional<int> value = m_words.size() == 2 ? Byte(m_words[1]) : std::nullopt;
        if (!value) {
            return "profile takes one byte value (0..255)";
        }
        m_settings.currentProfile = static_cast<uint8_t>(*value);
        return {};
    }

    Problem ParseUnplug()
    {
        const std::optional<int> command = m_words.size() == 4 ? Byte(m_words[1]) : std::nullopt;
        const std::optional<int> replies =
            m_words.size() == 4 && m_words[2] == "after" ? InRange(Number(m_words[3]), 1, kMaxCount) : std::nullopt;
        if (!command || !replies) {
            return "unplug is written \"unplug CMD after N\" with N from 1";
        }
        m_settings.faults.push_back({static_cast<uint8_t>(*command), {ReplyFault::Kind::Unplug, *replies}, 1});
        return {};
    }

    std::span<const std::string_view> m_words;
    SimFaultSettings& m_settings;
};

} // namespace

SimFaultSettings ParseSimFaults(std::string_view text)
{
    SimFaultSettings settings;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        start = end + 1;
        const std::vector<std::string_view> words = Words(item);
        if (words.empty()) {
            continue;
        }
        if (const Problem problem = ItemParser(words, settings).Parse(); !problem.empty()) {
            settings.problems.push_back("ignored \"" + std::string(Trimmed(item)) + "\": " + problem);
        }
    }
    return settings;
}

} // namespace tavrix::dexlink
