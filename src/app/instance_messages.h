#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/window_message.h"

// What one instance of the program sends another: the window messages, the request values that
// travel in wParam, and the name the instance lock and socket are called by.
namespace tavrix::app {

inline constexpr uint32_t UM_OPEN = 0x5350;
inline constexpr uint32_t UM_KILL = 0x4D4B;

inline constexpr uint32_t kOpenRequestTag = 0x4F50454E;
inline constexpr uint32_t kKillRequestTag = 0x4C4C494B;

// The one command another instance may send, as WM_COMMAND with it in wParam: run the update
// dialog ("/Update"). The window answers once it has the command and runs the dialog after.
inline constexpr uint32_t kUpdateCommand = 32780;

// Whether a message from another instance is one the main window answers, always with lParam 0:
// UM_OPEN or UM_KILL (the window itself checks the tag in wParam), or the update command.
constexpr bool IsInstanceMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    if (lParam != 0) {
        return false;
    }
    return message == UM_OPEN || message == UM_KILL || (message == controls::WM_COMMAND && wParam == kUpdateCommand);
}

inline constexpr const char* kInstanceMutexName = "QT73H20B";

// On the instance socket a request is three little-endian 32-bit words (message, wParam,
// lParam) and the reply one word: 1 when the window handled the message, 0 when it did not.
// One request per connection; what follows it is not read.
inline constexpr size_t kInstanceRequestSize = 12;
inline constexpr size_t kInstanceReplySize = 4;

struct InstanceRequestFrame {
    uint32_t message = 0;
    uint32_t wParam = 0;
    uint32_t lParam = 0;
};

std::array<uint8_t, kInstanceRequestSize> EncodeInstanceRequest(const InstanceRequestFrame& request);
// The request at the start of bytes; nothing while fewer than kInstanceRequestSize bytes arrived.
std::optional<InstanceRequestFrame> DecodeInstanceRequest(std::span<const uint8_t> bytes);

std::array<uint8_t, kInstanceReplySize> EncodeInstanceReply(bool handled);
// True only for a whole reply that says handled.
bool DecodeInstanceReply(std::span<const uint8_t> bytes);

// How long a starting instance waits for the running one to handle its message: long enough
// for a busy window, short enough that a hung instance cannot hold up the start for good.
inline constexpr uint32_t kNotifyTimeoutMs = 10000;

// How long the running instance waits for a client's request before it drops the connection, and
// how many connections it serves at once (the rest wait in the system's queue): a client that
// says nothing, or thousands of them, cannot hold the instance up.
inline constexpr uint32_t kClientTimeoutMs = 2000;
inline constexpr size_t kMaxInstanceConnections = 8;

// Requests of the command line (tavrix-ctl) share the socket. The three words carry
// kCtlRequestMessage, the protocol version and the length of the body that follows them; the
// reply is five words (kCtlReplyTag, the version, a status, the lengths of a UTF-8 text and of a
// payload) followed by the text and the payload. Either side checks every word and length
// before it reads on; the body's own fields are the command line's (ctl/ctl_protocol.h).
inline constexpr uint32_t kCtlRequestMessage = 0x4C544354; // "CTTL"
inline constexpr uint32_t kCtlReplyTag = 0x504C5443;       // "CTLP"
inline constexpr uint32_t kCtlProtocolVersion = 1;
// A profile file of 100 macros with room for texts; the largest reply payload too.
inline constexpr size_t kMaxCtlBodySize = 4 * 1024 * 1024;
inline constexpr size_t kMaxCtlTextSize = 64 * 1024;
inline constexpr size_t kCtlReplyHeaderSize = 20;

constexpr bool IsCtlRequest(const InstanceRequestFrame& frame)
{
    return frame.message == kCtlRequestMessage;
}

// The header and body of a request; nothing for a body longer than kMaxCtlBodySize.
std::optional<std::vector<uint8_t>> EncodeCtlRequest(std::span<const uint8_t> body);
// The length of the body that follows a request of this version; nothing for another version or
// a body longer than kMaxCtlBodySize.
std::optional<size_t> CtlBodySize(const InstanceRequestFrame& frame);

// Results of a request, the same numbers tavrix-ctl ends with.
enum class CtlStatus : uint32_t { Done = 0, NoKeyboard = 2, Failed = 3, BadFile = 4 };

struct CtlReply {
    CtlStatus status = CtlStatus::Done;
    // What the user should read, one message per line.
    std::string text;
    std::vector<uint8_t> payload;
};

// The reply's bytes; a text or payload beyond its limit is cut to it.
std::vector<uint8_t> EncodeCtlReply(const CtlReply& reply);

struct CtlReplyHeader {
    CtlStatus status = CtlStatus::Done;
    size_t textSize = 0;
    size_t payloadSize = 0;
};
// The header at the start of bytes when it is a whole reply header of this version with a known
// status and lengths within their limits.
std::optional<CtlReplyHeader> DecodeCtlReplyHeader(std::span<const uint8_t> bytes);

} // namespace tavrix::app
