#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include "skin_output.h"

// Writes the default skin (Skins/) and the program's icons (Icons/) into the given folder,
// optionally with PNG previews of every picture for a look at them, and the application icon for
// the desktop's icon theme.
int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Generates the default skin and icons."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("the folder of the executables"));
    const QCommandLineOption preview(QStringLiteral("preview"), QStringLiteral("also write PNG previews to <dir>"),
                                     QStringLiteral("dir"));
    parser.addOption(preview);
    const QCommandLineOption hicolor(QStringLiteral("hicolor"),
                                     QStringLiteral("also write the application icon at theme sizes to <dir>"),
                                     QStringLiteral("dir"));
    parser.addOption(hicolor);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QString folder = parser.positionalArguments().first();
    const QString previews = parser.value(preview);
    using namespace tavrix::skingen;
    SkinOutput skins(folder + "/Skins", previews);
    WriteMainSkin(skins);
    WriteLightingPictures(skins);
    WriteCompositeSkin(skins);
    WriteProfileSkin(skins);
    WriteUpdateSkin(skins);
    SkinOutput icons(folder + "/Icons", previews);
    WriteIcons(icons);

    QStringList failures = skins.Failures() + icons.Failures();
    if (parser.isSet(hicolor))
        failures += WriteThemeIcons(parser.value(hicolor));
    if (!failures.isEmpty()) {
        QTextStream(stderr) << "skingen: could not write " << failures.join(", ") << "\n";
        return 1;
    }
    return 0;
}
