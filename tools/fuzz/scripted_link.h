#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A device link whose keyboard is a script: each request the command set sends is answered on
// the caller's thread, as the library's notification thread would, with the script's next reply,
// after any keyboard event or device-count change the script puts before it (a count equal to the
// last one is no change and is not sent). The reply fuzz target reads the script from its input;
// the seed maker records one from the simulated keyboard in the same byte form, so seeds and
// inputs mean the same.
//
// Byte form, in order: the command arguments as RunEveryCommand asks for them, interleaved with
// one answer per request: a mode byte (ReplyMode bits), then a 16-bit event value when
// kEventFirst, a device count byte when kCountChangeFirst, and unless kNoReply a length byte and
// that many reply bytes.
namespace tavrix::fuzz {

enum ReplyMode : uint8_t {
    kNoReply = 1 << 0,
    kEventFirst = 1 << 1,
    kCountChangeFirst = 1 << 2,
    kEchoAsGiven = 1 << 3, // else byte 3 of the reply becomes the request's command code
    kNoData = 1 << 4,      // the reply's length arrives without its bytes
};

struct Answer {
    uint8_t mode = 0;
    uint16_t event = 0;
    uint8_t deviceCount = 0;
    std::vector<uint8_t> reply;
};

class Script {
public:
    virtual ~Script() = default;
    // The next argument byte of a command.
    virtual uint8_t Argument() = 0;
    // Sets every field of the answer to the request (the caller reuses one answer); false when
    // the script has ended (the write is refused).
    virtual bool AnswerTo(std::span<const uint8_t> request, Answer& answer) = 0;
    virtual bool Ended() const = 0;
};

// Reads a script in the byte form.
class InputScript : public Script {
public:
    explicit InputScript(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    uint8_t Argument() override { return Next(); }
    bool AnswerTo(std::span<const uint8_t> request, Answer& answer) override;
    bool Ended() const override { return m_position >= m_bytes.size(); }

private:
    uint8_t Next() { return Ended() ? 0 : m_bytes[m_position++]; }

    std::span<const uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Runs the command set on a link whose keyboard is the script, until the script ends. One link
// serves every script, settled before each starts.
void RunScript(Script& script);

// Appends an answer in the byte form.
void AppendAnswer(const Answer& answer, std::vector<uint8_t>& bytes);

} // namespace tavrix::fuzz
