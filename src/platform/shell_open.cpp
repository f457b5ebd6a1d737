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
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable()) {
        const QStringList arguments = QProcess::splitCommand(QString::fromStdString(request.parameters));
        return QProcess::startDetached(file.absoluteFilePath(), arguments);
    }
    if (file.exists()) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    }
    // Not a file: only a web address (or another URL with a scheme) is left to open.
    const QUrl url(target, QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() && QDesktopServices::openUrl(url);
}

}  // namespace

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

}  // namespace tavrix::platform
