// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the settings form, as the program builds it, into a PNG.
//
//   settings-view-picture OUTPUT.png [--notes]
//
// Run it on a real display server (scripts/render-settings-pictures uses Xvfb);
// QT_SCALE_FACTOR=2 gives the picture at twice the size. The form shows a
// sample store kept in a temporary folder, in the language and locale of the
// environment (LC_ALL, LANGUAGE...), American English when none is set.
// --notes shows every note, beside the pay, under the end of a night shift and
// under the masking toggle: the form at its widest and tallest.

#include "SettingsView.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const bool notes = argc == 3 && std::strcmp(argv[2], "--notes") == 0;
    if (argc != 2 && !notes) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [--notes]\n", argv[0]);
        return 2;
    }
    TemporaryFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    if (!std::getenv("LC_ALL") && !std::getenv("LANG")) {
        ::setenv("LC_ALL", "en_US.UTF-8", 1);
    }
    writeWholeFile(folder / "tallyglow.conf",
                   "[General]\ndailyPay=320\nstartHour=8\nstartMinute=30\nendHour=17\n"
                   "workDays=12345\nbreakStartHour=12\nbreakMinutes=30\n");

    QApplication application(argc, argv);
    Translations::useUserLanguage();
    const auto settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(folder / "tallyglow.conf"));
    SettingsView view(*settings);
    if (notes) {
        // A pay out of range, refused with a word, and casts that cannot be detected.
        auto* payField = view.findChild<QLineEdit*>("amountField");
        payField->setText("-1");
        payField->setModified(true);
        Q_EMIT payField->editingFinished();
        view.showMasking(false,
                         ScreenShareDetector::Detection{ScreenShareDetector::PipeWire::missing});
        // A night shift, with its caption.
        settings->setEndHour(6);
    }
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
