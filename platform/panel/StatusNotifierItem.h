// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusItem.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class DBusMenuExporter;
class QDBusServiceWatcher;
class QTimer;
class StatusMenu;

// A panel item offered over D-Bus as an org.kde.StatusNotifierItem. The title
// shows as the item's label (XAyatanaLabel), and as its title and tooltip for
// panels that draw no labels. Whatever text it is given is all it ever puts
// on the bus.
class StatusNotifierItem final : public QObject,
                                 public StatusItem,
                                 private StatusButton,
                                 protected QDBusContext {
    Q_OBJECT

public:
    // Where the item stands with the panel's watcher.
    enum class Hosting {
        // Not known yet, or a registration is on its way.
        asking,
        // No watcher on the bus, or no bus.
        noWatcher,
        // A watcher lists the item.
        taken,
        // A watcher is there but did not take the item, or does not list it;
        // it is offered again.
        dropped,
        // Off the bus: not offered yet, or the item shows in another way.
        withdrawn,
    };

    struct Identity {
        QString id;
        QString iconName;
        // A folder holding the icon, for panels that do not find it in the icon theme.
        QString iconThemePath;
    };

    // Serves the item on the connection, withdrawn until setWithdrawn(false)
    // offers it to the panel; on a connection that is not open the item has
    // no button and offers nothing.
    StatusNotifierItem(QDBusConnection connection, Identity identity);
    ~StatusNotifierItem() override;

    StatusButton* button() override;
    void setMenu(StatusMenu* menu, std::function<void()> willOpen) override;
    // Shown while a watcher lists the item.
    void setShownChanged(std::function<void(bool shown)> changed) override;
    Hosting hosting() const { return currentHosting; }
    // Takes the item off the bus, so that no watcher shows it, or offers it again.
    void setWithdrawn(bool withdrawn);
    // What the program is told of this item's clicks and menu: an item that
    // shows this one elsewhere too shares them.
    const std::shared_ptr<StatusItemEvents>& sharedEvents() const { return events; }

    // Clicks as panels send them. Where we cannot place a menu ourselves, a
    // click that should show it fails, so that the panel shows the exported one.
    void activate(QPoint position);
    void contextMenu(QPoint position);
    void secondaryActivate();
    void ayatanaSecondaryActivate();
    // Wayland: the token lets the window we open next take the focus.
    void provideActivationToken(const QString& token);

    // What the D-Bus properties read.
    const Identity& identity() const { return ownIdentity; }
    const QString& label() const { return labelText; }
    const QString& labelGuide() const { return labelGuideText; }
    const QDBusObjectPath& menu() const { return menuPath; }
    // The title and tooltip, empty while our own menu is open: a panel that
    // redraws its tooltip at each change of the figure (Budgie 10.9) would
    // draw it over the menu.
    QString toolTip() const { return ownMenuShown ? QString() : labelText; }

Q_SIGNALS:
    void labelChanged();
    void toolTipChanged();
    void hostingChanged();

private Q_SLOTS:
    void watcherDroppedItem(const QString& item);

private:
    void setTitle(const std::string& title) override;
    void useMonospacedDigitFont() override;
    void setAction(std::function<ClickAnswer()> action) override;
    void setSecondaryAction(std::function<void()> action) override;

    void panelRequestsClick();
    void panelOpensMenu();

    void claimServiceName(bool claim);
    void registerWithWatcher();
    void followWatcher();
    void setHosting(Hosting hosting);
    // How the next offer names the item: by path once a watcher dropped it.
    enum class Offer { asBefore, byPath };
    void registerAgainLater(Offer offer);
    void checkStillRegistered();
    bool namesThisItem(const QString& item) const;
    QString guideFor(const QString& text) const;

    QDBusConnection connection;
    Identity ownIdentity;
    QString serviceName;
    QString labelText;
    QString labelGuideText;
    QDBusObjectPath menuPath{QStringLiteral("/")};
    bool monospacedDigits = false;
    bool ownMenuShown = false;
    QDBusServiceWatcher* watcherOwner = nullptr;
    // A watcher may drop a live item, or never list it: we then register
    // again, each time a little later, so a watcher that always refuses us is
    // not flooded.
    QTimer* registrationCheck = nullptr;
    QTimer* nextRegistration = nullptr;
    // The watcher dropped the item offered by name; it is offered by path from now on.
    bool registerByPath = false;
    int registrationsInARow = 0;
    // Counts registrations, so that only the last one's answer counts.
    int registrations = 0;
    // The watcher answered the last registration without an error.
    bool registrationAccepted = false;
    std::chrono::steady_clock::time_point lastRegistration;
    Hosting currentHosting = Hosting::withdrawn;
    std::function<void(bool)> shownChanged;

    QPointer<StatusMenu> itemMenu;
    std::shared_ptr<StatusItemEvents> events = std::make_shared<StatusItemEvents>();
    DBusMenuExporter* exporter = nullptr;
    std::chrono::steady_clock::time_point lastAyatanaSecondaryActivate;
};
