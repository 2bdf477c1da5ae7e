#include "StatusBar.h"

#include "StatusNotifierItem.h"
#include "SwitchingStatusItem.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

namespace {

// Beside the program in a build; installed, in the program's share folder,
// which the build names relative to the program's own folder
// (TALLYGLOW_ICON_FOLDER_FROM_PROGRAM), so that a staged or moved installation
// finds it too.
QString iconFolder(const QString& iconName) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {QStringLiteral("icons"), QStringLiteral(TALLYGLOW_ICON_FOLDER_FROM_PROGRAM)}) {
        const QString folder = programFolder.absoluteFilePath(candidate);
        if (QFileInfo::exists(folder + u'/' + iconName + QStringLiteral(".svg"))) {
            return QDir::cleanPath(folder);
        }
    }
    return {};
}

} // namespace

StatusBar& StatusBar::system() {
    static StatusBar statusBar;
    return statusBar;
}

std::unique_ptr<StatusItem> StatusBar::statusItem() {
    const QString name = QCoreApplication::applicationName();
    const QString folder = iconFolder(name);
    auto item = std::make_unique<StatusNotifierItem>(QDBusConnection::sessionBus(),
                                                     StatusNotifierItem::Identity{
                                                         .id = name,
                                                         .iconName = name,
                                                         .iconThemePath = folder,
                                                     });
    // An old-style tray draws the icon itself, from the same file.
    const QIcon trayImage = folder.isEmpty() ? QIcon::fromTheme(name)
                                             : QIcon(folder + u'/' + name + QStringLiteral(".svg"));
    return std::make_unique<SwitchingStatusItem>(std::move(item), trayImage);
}
