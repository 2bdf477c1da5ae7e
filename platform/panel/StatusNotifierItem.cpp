// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierItem.h"

#include "BusCall.h"
#include "DBusMenuExporter.h"
#include "StatusMenu.h"
#include "StatusNotifierItemAdaptor.h"

#include <QApplication>
#include <QCursor>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QMenu>
#include <QTimer>
#include <algorithm>

namespace {

const char* const watcherService = "org.kde.StatusNotifierWatcher";
const char* const watcherPath = "/StatusNotifierWatcher";
const char* const itemPath = "/StatusNotifierItem";

// A watcher lists a new item well within this; GNOME's drops it within a second.
constexpr std::chrono::milliseconds registrationCheckDelay{1500};
// Registering again after a drop: soon at first, then ever later, at most
// a few times a minute.
constexpr std::chrono::milliseconds firstRetryDelay{1000};
constexpr std::chrono::milliseconds longestRetryDelay{20000};
// A registration that held this long stuck: the next drop is retried soon again.
constexpr std::chrono::seconds registrationHeld{60};
// A watcher still busy at login may answer nothing for longer than D-Bus's
// own 25 s: it is offered the item again, and its list read again, sooner.
constexpr std::chrono::seconds watcherAnswerLimit{8};

bool gotNoAnswer(const QDBusError& error) {
    return error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout ||
           error.type() == QDBusError::TimedOut;
}

} // namespace

StatusNotifierItem::StatusNotifierItem(QDBusConnection busConnection, Identity identity)
    : connection(std::move(busConnection)), ownIdentity(std::move(identity)) {
    if (!connection.isConnected()) {
        currentHosting = Hosting::noWatcher;
        return;
    }
    new StatusNotifierItemAdaptor(this);
    serviceName =
        QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid());
    connection.registerObject(QString::fromLatin1(itemPath), this, QDBusConnection::ExportAdaptors);

    // A watcher that drops the item, or never lists it, is asked again, ever later.
    registrationCheck = new QTimer(this);
    registrationCheck->setSingleShot(true);
    registrationCheck->setInterval(registrationCheckDelay);
    connect(registrationCheck, &QTimer::timeout, this, &StatusNotifierItem::checkStillRegistered);
    nextRegistration = new QTimer(this);
    nextRegistration->setSingleShot(true);
    connect(nextRegistration, &QTimer::timeout, this, &StatusNotifierItem::registerWithWatcher);
}

StatusNotifierItem::~StatusNotifierItem() {
    if (connection.isConnected()) {
        connection.unregisterObject(QString::fromLatin1(itemPath));
        connection.unregisterService(serviceName);
    }
}

StatusButton* StatusNotifierItem::button() {
    return connection.isConnected() ? static_cast<StatusButton*>(this) : nullptr;
}

void StatusNotifierItem::setMenu(StatusMenu* menu, std::function<void()> willOpen) {
    events->menuWillOpen = std::move(willOpen);
    if (!connection.isConnected() || itemMenu) {
        return;
    }
    itemMenu = menu;
    // Shown by us, the menu tells of its opening and closing itself.
    connect(menu, &StatusMenu::aboutToShow, this, [this] {
        ownMenuShown = true;
        Q_EMIT toolTipChanged();
        events->menuOpens();
    });
    connect(menu, &StatusMenu::aboutToHide, this, [this] {
        ownMenuShown = false;
        Q_EMIT toolTipChanged();
    });
    exporter = new DBusMenuExporter(connection, menu, QStringLiteral("/MenuBar"));
    menuPath = exporter->objectPath();
    connect(exporter, &DBusMenuExporter::opened, this, &StatusNotifierItem::panelOpensMenu);
}

void StatusNotifierItem::setShownChanged(std::function<void(bool shown)> changed) {
    shownChanged = std::move(changed);
}

void StatusNotifierItem::setHosting(Hosting hosting) {
    if (hosting == currentHosting) {
        return;
    }
    const bool wasShown = currentHosting == Hosting::taken;
    currentHosting = hosting;
    Q_EMIT hostingChanged();
    if (shownChanged && wasShown != (hosting == Hosting::taken)) {
        shownChanged(hosting == Hosting::taken);
    }
}

void StatusNotifierItem::setWithdrawn(bool withdrawn) {
    if (!connection.isConnected() || withdrawn == (currentHosting == Hosting::withdrawn)) {
        return;
    }
    nextRegistration->stop();
    registrationCheck->stop();
    claimServiceName(!withdrawn);
    if (withdrawn) {
        setHosting(Hosting::withdrawn);
        return;
    }
    registrationsInARow = 0;
    registerByPath = false;
    setHosting(Hosting::asking);
    registerWithWatcher();
}

// Without waiting for the answer: the bus handles our messages in order, so
// the watcher, told of the item next, finds the name already taken.
void StatusNotifierItem::claimServiceName(bool claim) {
    QDBusMessage call =
        busCall(claim ? QStringLiteral("RequestName") : QStringLiteral("ReleaseName"));
    call << serviceName;
    if (claim) {
        call << uint(0);
    }
    connection.send(call);
}

void StatusNotifierItem::setAction(std::function<ClickAnswer()> newAction) {
    events->clicked = std::move(newAction);
}

void StatusNotifierItem::setSecondaryAction(std::function<void()> newAction) {
    events->middleClicked = std::move(newAction);
}

namespace {

// A panel that asks us for a menu on Wayland gets none we could place; it
// shows the exported one when its request fails.
bool canPlaceMenus() {
    return QGuiApplication::platformName() != QStringLiteral("wayland");
}

} // namespace

// Where panels say a click was varies: 0,0, the item, or (MATE's
// notification area) the panel's corner of the screen. The menu opens at the
// pointer instead, which is where the click was.
void StatusNotifierItem::activate(QPoint) {
    panelRequestsClick();
}

void StatusNotifierItem::contextMenu(QPoint) {
    panelRequestsClick();
}

void StatusNotifierItem::panelRequestsClick() {
    if (events->click() != ClickAnswer::showMenu || !itemMenu) {
        return;
    }
    if (canPlaceMenus()) {
        itemMenu->menu()->popup(QCursor::pos());
        return;
    }
    events->menuOpens();
    if (calledFromDBus()) {
        sendErrorReply(QDBusError::NotSupported,
                       QStringLiteral("Show the item's menu (%1)").arg(menuPath.path()));
    }
}

void StatusNotifierItem::panelOpensMenu() {
    if (events->click() == ClickAnswer::showMenu) {
        events->menuOpens();
    }
}

void StatusNotifierItem::secondaryActivate() {
    // GNOME sends both of these for one middle click.
    constexpr auto sameClick = std::chrono::seconds(1);
    if (std::chrono::steady_clock::now() - lastAyatanaSecondaryActivate < sameClick) {
        return;
    }
    events->middleClick();
}

void StatusNotifierItem::ayatanaSecondaryActivate() {
    lastAyatanaSecondaryActivate = std::chrono::steady_clock::now();
    events->middleClick();
}

void StatusNotifierItem::provideActivationToken(const QString& token) {
    // Qt's Wayland support hands this token to the compositor when a window asks for focus.
    if (QGuiApplication::platformName() == QStringLiteral("wayland")) {
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    }
}

void StatusNotifierItem::setTitle(const std::string& title) {
    const QString text = QString::fromStdString(title);
    if (text == labelText) {
        return; // panels are told only about changes
    }
    labelText = text;
    labelGuideText = guideFor(text);
    Q_EMIT labelChanged();
}

void StatusNotifierItem::useMonospacedDigitFont() {
    monospacedDigits = true;
    const QString guide = guideFor(labelText);
    if (guide != labelGuideText) {
        labelGuideText = guide;
        Q_EMIT labelChanged();
    }
}

QString StatusNotifierItem::guideFor(const QString& text) const {
    if (!monospacedDigits) {
        return {};
    }
    // The panel keeps room for the widest text of this shape, so the label
    // keeps its width while its digits change.
    QString guide = text;
    for (QChar& character : guide) {
        if (character.isDigit()) {
            character = u'0';
        }
    }
    return guide;
}

void StatusNotifierItem::registerWithWatcher() {
    if (currentHosting == Hosting::withdrawn) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(watcherService), QString::fromLatin1(watcherPath),
        QString::fromLatin1(watcherService), QStringLiteral("RegisterStatusNotifierItem"));
    // By service name first: Cinnamon's watcher loses an item offered by path
    // for good when Cinnamon restarts. GNOME Shell 43's AppIndicator extension
    // drops an item offered by name in some starts (its watch of the name
    // makes it forget what it read); offered by path, it keeps it. So a
    // watcher that dropped the item is offered it by path.
    call << (registerByPath ? QString::fromLatin1(itemPath) : serviceName);
    // No panel yet is no error: the owner watch brings us to the next one.
    call.setAutoStartService(false);
    setHosting(Hosting::asking);
    registrationAccepted = false;
    const int registration = ++registrations;
    auto* pending = new QDBusPendingCallWatcher(
        connection.asyncCall(call, int(std::chrono::milliseconds(watcherAnswerLimit).count())),
        this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, registration](QDBusPendingCallWatcher* answer) {
                answer->deleteLater();
                // A later registration, or a watcher leaving, has the last word.
                if (registration != registrations || currentHosting != Hosting::asking) {
                    return;
                }
                const QDBusError error = answer->error();
                if (!error.isValid()) {
                    // Accepting is not showing: some watchers never list what
                    // they accept. The list says, a moment later.
                    registrationAccepted = true;
                    registrationCheck->start();
                } else if (error.type() == QDBusError::ServiceUnknown ||
                           error.name() ==
                               QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner")) {
                    setHosting(Hosting::noWatcher);
                } else {
                    // Refused, or no answer: offered again.
                    registerAgainLater(gotNoAnswer(error) ? Offer::asBefore : Offer::byPath);
                }
            });
    lastRegistration = std::chrono::steady_clock::now();
    registrationCheck->start();
    if (!watcherOwner) {
        followWatcher();
    }
}

// Once the first offer is on its way: each watch waits for Qt's bus thread
// to take it. A drop before then is found by the registration check.
void StatusNotifierItem::followWatcher() {
    // Panels restart, and at login often start after us: offer the item to every new watcher.
    watcherOwner = new QDBusServiceWatcher(QString::fromLatin1(watcherService), connection,
                                           QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcherOwner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (currentHosting == Hosting::withdrawn) {
                    return;
                }
                nextRegistration->stop();
                registrationCheck->stop();
                registrationsInARow = 0;
                registerByPath = false;
                if (newOwner.isEmpty()) {
                    setHosting(Hosting::noWatcher);
                } else {
                    registerWithWatcher();
                }
            });
    // From any sender: naming the watcher would have Qt wait for the bus to
    // say who owns that name. Only a watcher sends this signal.
    connection.connect(
        QString(), QString::fromLatin1(watcherPath), QString::fromLatin1(watcherService),
        QStringLiteral("StatusNotifierItemUnregistered"), this, SLOT(watcherDroppedItem(QString)));
    // A watcher that came between the first offer and the watch is asked for
    // now: with none there at the offer, the bus answers the offer first.
    QDBusMessage owner = busCall(QStringLiteral("NameHasOwner"));
    owner << QString::fromLatin1(watcherService);
    auto* pending = new QDBusPendingCallWatcher(connection.asyncCall(owner), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<bool> reply = *call;
                if (!reply.isError() && reply.value() && currentHosting == Hosting::noWatcher) {
                    registerWithWatcher();
                }
            });
}

void StatusNotifierItem::checkStillRegistered() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        QString::fromLatin1(watcherService), QString::fromLatin1(watcherPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(watcherService) << QStringLiteral("RegisteredStatusNotifierItems");
    get.setAutoStartService(false);
    auto* pending = new QDBusPendingCallWatcher(
        connection.asyncCall(get, int(std::chrono::milliseconds(watcherAnswerLimit).count())),
        this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (currentHosting == Hosting::noWatcher || currentHosting == Hosting::withdrawn) {
                    return;
                }
                const QDBusPendingReply<QDBusVariant> reply = *call;
                if (reply.isError()) {
                    if (gotNoAnswer(reply.error())) {
                        registrationCheck->start(); // busy: asked again
                    } else if (registrationAccepted && currentHosting == Hosting::asking) {
                        // A watcher that cannot tell whom it lists is taken at its word.
                        setHosting(Hosting::taken);
                    }
                    return;
                }
                const QStringList items = reply.value().variant().toStringList();
                if (std::any_of(items.cbegin(), items.cend(),
                                [this](const QString& item) { return namesThisItem(item); })) {
                    // Listed, even if the registration's answer never came.
                    nextRegistration->stop();
                    setHosting(Hosting::taken);
                } else if (registrationAccepted || currentHosting != Hosting::asking) {
                    registerAgainLater(Offer::byPath);
                }
                // Otherwise the registration is still to be answered; its answer decides.
            });
}

void StatusNotifierItem::watcherDroppedItem(const QString& item) {
    if (currentHosting != Hosting::withdrawn && namesThisItem(item)) {
        registerAgainLater(Offer::byPath);
    }
}

void StatusNotifierItem::registerAgainLater(Offer offer) {
    setHosting(Hosting::dropped);
    if (nextRegistration->isActive()) {
        return;
    }
    if (offer == Offer::byPath) {
        registerByPath = true;
    }
    registrationCheck->stop();
    if (std::chrono::steady_clock::now() - lastRegistration >= registrationHeld) {
        registrationsInARow = 0;
    }
    const int doublings = std::min(registrationsInARow, 5);
    nextRegistration->start(std::min(firstRetryDelay * (1 << doublings), longestRetryDelay));
    ++registrationsInARow;
}

bool StatusNotifierItem::namesThisItem(const QString& item) const {
    // Watchers name items by the service or the connection, some with the
    // object path after it ("/" or "@" between).
    for (const QString& name : {serviceName, connection.baseService()}) {
        if (item == name || item.startsWith(name + u'/') || item.startsWith(name + u'@')) {
            return true;
        }
    }
    return false;
}
