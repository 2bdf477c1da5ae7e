// SPDX-License-Identifier: GPL-3.0-or-later
#include "XAppStatusIcon.h"

#include "StatusMenu.h"
#include "XAppStatusIconAdaptor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMenu>
#include <QMetaProperty>
#include <QTimer>
#include <chrono>
#include <utility>

namespace {

const char* const iconInterface = "org.x.StatusIcon";
const char* const managerPath = "/org/x/StatusIcon";
const char* const iconPath = "/org/x/StatusIcon/Icon";

// Long enough for a panel's restart to bring its applet back.
constexpr std::chrono::milliseconds monitorReturnLimit{2000};

// Buttons as X numbers them.
constexpr uint leftButton = 1;
constexpr uint middleButton = 2;
constexpr uint rightButton = 3;

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;

// Applets find the icon as an object under /org/x/StatusIcon, as libxapp's
// own icons offer theirs.
class IconObjectManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.ObjectManager")

public:
    explicit IconObjectManager(XAppStatusIcon* icon) : QObject(icon), icon(icon) {}

public Q_SLOTS:
    ManagedObjects GetManagedObjects() const {
        QVariantMap properties;
        const QMetaObject* type = icon->metaObject();
        for (int index = type->propertyOffset(); index < type->propertyCount(); ++index) {
            properties.insert(QString::fromLatin1(type->property(index).name()),
                              type->property(index).read(icon));
        }
        return {{QDBusObjectPath(QString::fromLatin1(iconPath)),
                 {{QString::fromLatin1(iconInterface), properties}}}};
    }

private:
    XAppStatusIcon* icon;
};

} // namespace

Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

XAppStatusIcon::XAppStatusIcon(QDBusConnection busConnection, QString name, QString iconName,
                               std::shared_ptr<const StatusItemEvents> itemEvents)
    : connection(std::move(busConnection)), ownName(std::move(name)),
      ownIconName(std::move(iconName)), events(std::move(itemEvents)),
      applets(XAppApplets::onSessionBus()) {
    if (!connection.isConnected()) {
        return;
    }
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();
    new XAppStatusIconAdaptor(this);
    objectManager = new IconObjectManager(this);
    // Four parts, as the applets take no other names.
    busName =
        QStringLiteral("org.x.StatusIcon.tallyglow-%1").arg(QCoreApplication::applicationPid());

    lastMonitorGone = new QTimer(this);
    lastMonitorGone->setSingleShot(true);
    lastMonitorGone->setInterval(monitorReturnLimit);
    connect(lastMonitorGone, &QTimer::timeout, this, [this] { follow(); });
    connect(&applets, &XAppApplets::changed, this, &XAppStatusIcon::appletsChanged);
    if (applets.known()) {
        follow();
        answerTold = true;
    }
}

XAppStatusIcon::~XAppStatusIcon() {
    withdraw();
}

void XAppStatusIcon::setTitle(const QString& title) {
    if (title == labelText) {
        return; // applets are told only about changes
    }
    labelText = title;
    tellChanged(
        {{QStringLiteral("Label"), label()}, {QStringLiteral("TooltipText"), tooltipText()}});
}

void XAppStatusIcon::setMenu(StatusMenu* newMenu) {
    menu = newMenu;
    connect(menu, &StatusMenu::aboutToHide, this, [this] { setOpenMenu(Menu::none); });
}

QString XAppStatusIcon::metadata() const {
    // One menu, whichever button opens it.
    return QStringLiteral(R"({"highlight-both-menus": true})");
}

// As libxapp's own icons: a press that opens no menu acts at once (the
// middle button); a menu opens on the release, once the panel has let go of
// the pointer, so that the menu can take it.
void XAppStatusIcon::ButtonPress(int, int, uint button, uint, int) {
    pressedButton = button;
    if (button == middleButton) {
        events->middleClick();
    }
}

void XAppStatusIcon::ButtonRelease(int, int, uint button, uint, int) {
    const bool pressed = std::exchange(pressedButton, 0) == button;
    if (!pressed || (button != leftButton && button != rightButton)) {
        return;
    }
    if (events->click() != ClickAnswer::showMenu || !menu) {
        return;
    }
    setOpenMenu(button == leftButton ? Menu::primary : Menu::secondary);
    // At the pointer, as the item's menu opens elsewhere; Qt keeps it on the
    // screen. Placed at the icon's corner instead, the menu let the first
    // click on it go unanswered when it opened there again (Qt 6.8).
    menu->menu()->popup(QCursor::pos());
}

void XAppStatusIcon::Scroll(int, int, uint) {
    // Scrolling over the item does nothing.
}

void XAppStatusIcon::appletsChanged() {
    if (!applets.any() && isServed) {
        lastMonitorGone->start();
        return;
    }
    const bool came = follow();
    // The bus's first answer is told even when the icon stays off the bus:
    // the item waits for it.
    if (!came && applets.known() && !answerTold) {
        Q_EMIT servedChanged();
    }
    answerTold = answerTold || applets.known();
}

bool XAppStatusIcon::follow() {
    const bool serving = applets.any();
    if (serving) {
        lastMonitorGone->stop();
    }
    if (serving == isServed) {
        return false;
    }
    serving ? serve() : withdraw();
    isServed = serving;
    Q_EMIT servedChanged();
    return true;
}

// The objects first: an applet reads them as soon as the name appears.
void XAppStatusIcon::serve() {
    connection.registerObject(QString::fromLatin1(iconPath), this, QDBusConnection::ExportAdaptors);
    connection.registerObject(QString::fromLatin1(managerPath), objectManager,
                              QDBusConnection::ExportAllSlots);
    connection.registerService(busName);
}

void XAppStatusIcon::withdraw() {
    if (!isServed) {
        return;
    }
    connection.unregisterService(busName);
    connection.unregisterObject(QString::fromLatin1(managerPath));
    connection.unregisterObject(QString::fromLatin1(iconPath));
}

// Qt tells no one of its properties' changes.
void XAppStatusIcon::tellChanged(const QVariantMap& properties) {
    if (!isServed) {
        return;
    }
    QDBusMessage changed = QDBusMessage::createSignal(
        QString::fromLatin1(iconPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    changed << QString::fromLatin1(iconInterface) << properties << QStringList();
    connection.send(changed);
}

void XAppStatusIcon::setOpenMenu(Menu newMenu) {
    if (newMenu == openMenu) {
        return;
    }
    openMenu = newMenu;
    tellChanged({{QStringLiteral("PrimaryMenuIsOpen"), primaryMenuIsOpen()},
                 {QStringLiteral("SecondaryMenuIsOpen"), secondaryMenuIsOpen()},
                 {QStringLiteral("TooltipText"), tooltipText()}});
}

#include "XAppStatusIcon.moc"
