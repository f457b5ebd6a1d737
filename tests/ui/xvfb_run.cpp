#include "xvfb_run.h"

#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/executable_path.h"

namespace tavrix::testing {

namespace {

constexpr const char* kInnerVariable = "TAVRIX_XVFB_INNER";
constexpr int kInnerTimeoutMs = 120000;

} // namespace

void RunUnderXvfb(const QString& filter, const QStringList& programs)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        GTEST_SKIP() << "xvfb-run is not installed";
    }
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            GTEST_SKIP() << program.toStdString() << " is not installed";
        }
    }
    QProcess inner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kInnerVariable, QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The X connection's system libraries (D-Bus) keep allocations until exit; the same window
    // code is leak-checked offscreen by the other cases.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       sanitizer + (sanitizer.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    inner.setProcessEnvironment(environment);
    inner.setProcessChannelMode(QProcess::ForwardedChannels);
    inner.start(xvfbRun,
                {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1920x1080x24"),
                 QString::fromStdString(platform::ExecutablePath()), QStringLiteral("--gtest_filter=") + filter});
    ASSERT_TRUE(inner.waitForFinished(kInnerTimeoutMs));
    EXPECT_EQ(inner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(inner.exitCode(), 0);
}

bool IsUnderXvfb()
{
    return std::getenv(kInnerVariable) != nullptr;
}

} // namespace tavrix::testing
