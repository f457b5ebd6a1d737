#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <mutex>

namespace tavrix::platform {

namespace {

std::mutex g_handlerMutex;
ShellOpenHandler g_handler;

bool OpenWithDesktop(const ShellRequest& request)
{
    const QString target = QString::fromStdString(request.target);
    if (HasUrlScheme(request.target)) {
        // Never looked for as a file first: one named like the address in the working folder
        // could be a program someone planted there.
        const QUrl url(target, QUrl::StrictMode);
        return url.isValid() && QDesktopServices::openUrl(url);
    }
    // Only an absolute path, as the program builds for its own files: a relative one would
    // depend on the folder the program happened to be started from.
    const QFileInfo file(target);
    if (!target.startsWith('/') || !file.isFile()) {
        return false;
    }
    if (file.isExecutable()) {
        const QStringList arguments = QProcess::splitCommand(QString::fromStdString(request.parameters));
        return QProcess::startDetached(target, arguments, QString::fromStdString(request.folder));
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

} // namespace

bool HasUrlScheme(std::string_view target)
{
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const size_t colon = target.find(':');
    if (colon == std::string_view::npos || colon == 0 || !letter(target[0])) {
        return false;
    }
    for (const char c : target.substr(1, colon - 1)) {
        if (!letter(c) && !digit(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

bool ShellOpen(const ShellRequest& request)
{
    ShellOpenHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    return handler ? handler(request) : OpenWithDesktop(request);
}

void SetShellOpenHandler(ShellOpenHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    g_handler = std::move(handler);
}

} // namespace tavrix::platform
