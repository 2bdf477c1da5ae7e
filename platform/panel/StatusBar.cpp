// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusBar.h"

#include "StatusNotifierItem.h"
#include "SwitchingStatusItem.h"
#include "XAppApplets.h"
#include "XAppStatusIcon.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

namespace {

// Beside the program in a build; installed, in the program's share folder,
// which the build names relative to the program's own folder
// (TALLYGLOW_ICON_FOLDER_FROM_PROGRAM), so that a staged or moved installation
// finds it too. The one-colour icon is in a folder of its own: Cinnamon's
// watcher takes it over the coloured one it finds beside it, and its panel
// then draws nothing.
QString iconFolder(const QString& iconName) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString ownFolder =
        iconName.endsWith(QStringLiteral("-symbolic")) ? QStringLiteral("/symbolic") : QString();
    for (const QString& candidate :
         {QStringLiteral("icons"), QStringLiteral(TALLYGLOW_ICON_FOLDER_FROM_PROGRAM)}) {
        const QString folder = programFolder.absoluteFilePath(candidate) + ownFolder;
        if (QFileInfo::exists(folder + u'/' + iconName + QStringLiteral(".svg"))) {
            return QDir::cleanPath(folder);
        }
    }
    return {};
}

// GNOME Shell (with the AppIndicator extension) and Plasma draw a one-colour
// icon in the panel's own text colour, light or dark; other panels draw icons
// as they are, so they get the coloured coin. Budgie and GNOME Flashback name
// GNOME too, but their panels are not GNOME Shell's.
QString iconName(const QString& applicationName) {
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':');
    const auto listed = [&](const char* desktop) {
        return desktops.contains(QLatin1String(desktop), Qt::CaseInsensitive);
    };
    const bool recolours =
        (listed("GNOME") && !listed("Budgie") && !listed("GNOME-Flashback")) || listed("KDE");
    return recolours ? applicationName + QStringLiteral("-symbolic") : applicationName;
}

} // namespace

StatusBar& StatusBar::system() {
    static StatusBar statusBar;
    return statusBar;
}

void StatusBar::lookForPanels() {
    XAppApplets::onSessionBus();
}

std::unique_ptr<StatusItem> StatusBar::statusItem() {
    const QString name = QCoreApplication::applicationName();
    const QString icon = iconName(name);
    const QString folder = iconFolder(icon);
    auto item = std::make_unique<StatusNotifierItem>(QDBusConnection::sessionBus(),
                                                     StatusNotifierItem::Identity{
                                                         .id = name,
                                                         .iconName = icon,
                                                         .iconThemePath = folder,
                                                     });
    // XApp icons name their image by its path.
    auto xappIcon = std::make_unique<XAppStatusIcon>(
        QDBusConnection::sessionBus(), name,
        folder.isEmpty() ? icon : folder + u'/' + icon + QStringLiteral(".svg"),
        item->sharedEvents());
    // An old-style tray draws the coloured icon itself, from its file.
    return std::make_unique<SwitchingStatusItem>(std::move(item), std::move(xappIcon), [name] {
        const QString folder = iconFolder(name);
        return folder.isEmpty() ? QIcon::fromTheme(name)
                                : QIcon(folder + u'/' + name + QStringLiteral(".svg"));
    });
}
