#include "platform/diagnostic_log.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace tavrix::platform {

namespace {

const auto g_start = std::chrono::steady_clock::now();

} // namespace

bool IsDiagnosticLogOn()
{
    static const bool on = [] {
        const char* value = std::getenv("TAVRIX_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return on;
}

void LogDiagnostic(const char* format, ...)
{
    if (!IsDiagnosticLogOn()) {
        return;
    }
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - g_start);
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fprintf(stderr, "tavrix: %6lld.%03lld %s\n", static_cast<long long>(elapsed.count() / 1000),
                 static_cast<long long>(elapsed.count() % 1000), text);
}

} // namespace tavrix::platform
