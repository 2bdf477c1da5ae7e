// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelNotice.h"

#include "DesktopNotification.h"
#include "ShellExtension.h"

#include <functional>
#include <iterator>

namespace {

// GNOME Shell shows panel items only through this extension: by its own name, or
// by the one Debian and Ubuntu install it under.
const QString appIndicatorExtensions[] = {
    QStringLiteral("appindicatorsupport@rgcjonas.gmail.com"),
    QStringLiteral("ubuntu-appindicators@ubuntu.com"),
};

// XDG_CURRENT_DESKTOP lists the desktop's names, most specific first ("Budgie:GNOME").
bool desktopIs(const char* name) {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP")
        .split(u':', Qt::SkipEmptyParts)
        .contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}

} // namespace

enum class PanelNotice::PanelFix {
    // The shell can fetch it; its package is named too.
    installAppIndicator,
    // No shell answered: only its package is named.
    installAppIndicatorPackage,
    switchOnAppIndicator,
    repairAppIndicator,
    addBudgieApplet,
    addSystemTray,
};

PanelNotice::PanelNotice() = default;

PanelNotice::~PanelNotice() = default;

void PanelNotice::withdraw() {
    telling = false;
    installFailureTold = false;
    panelNote.clear();
    if (notification) {
        notification->withdraw();
    }
}

void PanelNotice::tellWhyNoPanelShowsItem() {
    telling = true;
    // Budgie names GNOME too; its panel has an applet of its own.
    if (desktopIs("Budgie")) {
        advise(PanelFix::addBudgieApplet);
        return;
    }
    if (!desktopIs("GNOME")) {
        advise(PanelFix::addSystemTray);
        return;
    }
    askAppIndicatorState(0);
}

void PanelNotice::askAppIndicatorState(std::size_t candidate) {
    const std::weak_ptr<PanelNotice> weakSelf = weak_from_this();
    const QString uuid = appIndicatorExtensions[candidate];
    ShellExtension::askState(uuid, [weakSelf, uuid, candidate](ShellExtension::State state) {
        const auto self = weakSelf.lock();
        if (!self) {
            return;
        }
        if (state == ShellExtension::State::notInstalled &&
            candidate + 1 < std::size(appIndicatorExtensions)) {
            self->askAppIndicatorState(candidate + 1);
            return;
        }
        switch (state) {
        case ShellExtension::State::off:
            self->offExtension = uuid;
            self->advise(PanelFix::switchOnAppIndicator);
            break;
        case ShellExtension::State::on:
        case ShellExtension::State::failed:
            self->advise(PanelFix::repairAppIndicator);
            break;
        case ShellExtension::State::notInstalled:
            self->advise(PanelFix::installAppIndicator);
            break;
        case ShellExtension::State::unknown:
            self->advise(PanelFix::installAppIndicatorPackage);
            break;
        }
    });
}

void PanelNotice::advise(PanelFix fix) {
    // A panel may have taken the item while the shell was asked.
    if (!telling) {
        return;
    }
    QString detail;
    QString shortFix;
    QString button;
    std::function<void()> buttonAction;
    switch (fix) {
    case PanelFix::installAppIndicator:
        detail = tr("Choose Install and GNOME fetches the AppIndicator extension and switches it "
                    "on; or install the gnome-shell-extension-appindicator package (Debian and "
                    "Fedora), log in again and switch it on in Extensions.");
        shortFix = tr("install and switch on the AppIndicator extension");
        button = tr("Install");
        buttonAction = [weakSelf = weak_from_this()] {
            if (const auto self = weakSelf.lock()) {
                self->installAppIndicator();
            }
        };
        break;
    case PanelFix::installAppIndicatorPackage:
        detail = tr("Install the AppIndicator extension (the gnome-shell-extension-appindicator "
                    "package on Debian and Fedora), log in again and switch it on in Extensions.");
        shortFix = tr("install and switch on the AppIndicator extension");
        break;
    case PanelFix::switchOnAppIndicator:
        detail = tr("The AppIndicator extension is installed but off: switch it on in Extensions, "
                    "or choose Enable.");
        shortFix = tr("switch on the AppIndicator extension");
        button = tr("Enable");
        buttonAction = [uuid = offExtension] {
            ShellExtension::enable(uuid);
        };
        break;
    case PanelFix::repairAppIndicator:
        detail = tr("The AppIndicator extension is on but not running: update it, or switch it "
                    "off and on again in Extensions.");
        shortFix = tr("the AppIndicator extension is not running");
        break;
    case PanelFix::addBudgieApplet:
        detail = tr("Add the StatusNotifier applet to the panel in Budgie Desktop Settings (the "
                    "budgie-sntray-plugin package).");
        shortFix = tr("add the StatusNotifier applet to the panel");
        break;
    case PanelFix::addSystemTray:
        detail = tr("Add a system tray (notification area) to the panel, or use a panel that has "
                    "one.");
        shortFix = tr("add a system tray to the panel");
        break;
    }
    panelNote = tr("No panel shows Tallyglow: %1").arg(shortFix);
    if (!notification) {
        notification = std::make_unique<DesktopNotification>(QStringLiteral("Tallyglow"));
    }
    notification->show(tr("Tallyglow is running, but not in the panel"),
                       tr("This desktop's panel shows no status items. %1").arg(detail), button,
                       buttonAction);
}

void PanelNotice::installAppIndicator() {
    const std::weak_ptr<PanelNotice> weakSelf = weak_from_this();
    ShellExtension::install(
        appIndicatorExtensions[0],
        [weakSelf](ShellExtension::Installation installation, const QString& reason) {
            const auto self = weakSelf.lock();
            // Once installed, the extension's watcher takes the item and the
            // notice goes; a user who said no in the shell's dialog hears no more.
            if (!self || installation != ShellExtension::Installation::failed) {
                return;
            }
            self->tellInstallFailed(reason);
        });
}

void PanelNotice::tellInstallFailed(const QString& reason) {
    if (!telling || installFailureTold) {
        return;
    }
    installFailureTold = true;
    notification->show(tr("The AppIndicator extension was not installed"),
                       tr("GNOME Shell could not install it (%1). Install the "
                          "gnome-shell-extension-appindicator package instead (Debian and "
                          "Fedora), log in again and switch it on in Extensions.")
                           .arg(reason));
}
