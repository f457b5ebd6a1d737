#include "controls/prompts.h"

#include <QFileInfo>

#include "controls/qt_prompts.h"

namespace tavrix::controls {

namespace {

Prompts* g_installed = nullptr;

} // namespace

Prompts& ActivePrompts()
{
    static QtPrompts qtPrompts;
    return g_installed != nullptr ? *g_installed : qtPrompts;
}

void InstallPrompts(Prompts* prompts)
{
    g_installed = prompts;
}

QStringList NameFiltersFromPattern(const QString& filter)
{
    // Pairs of (description, patterns); an empty description ends the list.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString description =
            parts[i].contains(QLatin1Char('(')) ? parts[i].section(QLatin1Char('('), 0, 0) : parts[i];
        nameFilters << QStringLiteral("%1(%2)").arg(description, patterns);
    }
    return nameFilters;
}

QString WithDefaultExtension(const QString& path, const QString& defaultExtension)
{
    if (path.isEmpty() || defaultExtension.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + QLatin1Char('.') + defaultExtension;
}

} // namespace tavrix::controls
