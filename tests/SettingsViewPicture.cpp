// Draws the settings form, as the program builds it, into a PNG.
//
//   settings-view-picture OUTPUT.png
//
// Run it on a real display server (scripts/render-settings-pictures uses Xvfb);
// QT_SCALE_FACTOR=2 gives the picture at twice the size. The form shows a
// sample store kept in a temporary folder, in American English.

#include "SettingsView.h"
#include "TestSupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    TemporaryFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    writeWholeFile(folder / "tallyglow.conf",
                   "[General]\ndailyPay=320\nstartHour=8\nstartMinute=30\nendHour=17\n");

    QApplication application(argc, argv);
    const auto settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
    SettingsView view(*settings);
    view.setWindowTitle("Tallyglow Settings");
    view.show();

    // Let the window be mapped and painted once before it is grabbed.
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();

    if (!view.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
