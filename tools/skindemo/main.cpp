// A skinned window built from drawn test pictures, to see the skin layer at work before the real
// skin exists. Run it under an X server; with --grab <folder> it also plays a click, a slider
// press and a drag by itself and writes screenshots there, then quits.

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "demo_dialog.h"
#include "demo_skin.h"

namespace {

using tavrix::skindemo::DemoDialog;

// What the screen shows around the window, so its shape can be seen.
bool GrabScreen(const DemoDialog& dialog, const QString& path)
{
    const QRect area = dialog.frameGeometry().adjusted(-20, -20, 20, 20);
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(path, "PNG");
}

void PlayAndGrab(DemoDialog& dialog, const QString& folder)
{
    if (!QTest::qWaitForWindowExposed(&dialog)) {
        std::fprintf(stderr, "the window was never shown\n");
    }
    QTest::qWait(200);
    GrabScreen(dialog, folder + "/demo_initial.png");
    dialog.grab().save(folder + "/demo_window.png", "PNG");

    QTest::mouseClick(dialog.GetDlgItem(1005), Qt::LeftButton);
    QTest::mouseClick(dialog.GetDlgItem(1178), Qt::LeftButton, Qt::NoModifier, QPoint(190, 8));
    QWidget* apply = dialog.GetDlgItem(1020);
    QTest::mouseMove(apply);
    QTest::qWait(200);
    const QPoint before = dialog.pos();
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(300, 30));
    QTest::mouseMove(&dialog, QPoint(340, 60));
    QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(340, 60));
    QTest::qWait(200);
    std::printf("window moved from (%d, %d) to (%d, %d)\n", before.x(), before.y(), dialog.pos().x(), dialog.pos().y());
    GrabScreen(dialog, folder + "/demo_after.png");
    dialog.EndDialog(tavrix::skin::IDOK);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTemporaryDir skinFolder;
    if (!skinFolder.isValid() || !tavrix::skindemo::WriteDemoSkin(skinFolder.path())) {
        std::fprintf(stderr, "cannot write the demo skin\n");
        return 1;
    }
    DemoDialog dialog(skinFolder.path().toStdString() + "/");
    const QStringList arguments = application.arguments();
    const qsizetype grabAt = arguments.indexOf("--grab");
    if (grabAt >= 0 && grabAt + 1 < arguments.size()) {
        const QString folder = arguments[grabAt + 1];
        QDir().mkpath(folder);
        QTimer::singleShot(0, &dialog, [&dialog, folder] { PlayAndGrab(dialog, folder); });
    }
    dialog.move(60, 60);
    dialog.DoModal();
    return 0;
}
