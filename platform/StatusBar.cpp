#include "StatusBar.h"

#include "StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>

namespace {

// Beside the program in a build, or in its share folder once installed.
QString iconFolder(const QString& iconName) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {QStringLiteral("icons"), QStringLiteral("../share/tallyglow/icons")}) {
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

std::unique_ptr<StatusItem> StatusBar::statusItem(double /*length*/) {
    const QString name = QCoreApplication::applicationName();
    return std::make_unique<StatusNotifierItem>(QDBusConnection::sessionBus(),
                                                StatusNotifierItem::Identity{
                                                    .id = name,
                                                    .iconName = name,
                                                    .iconThemePath = iconFolder(name),
                                                });
}
