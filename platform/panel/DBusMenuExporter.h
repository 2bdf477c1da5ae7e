// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DBusMenuTypes.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

class DBusMenuAdaptor;
class QAction;
class StatusMenu;

// Offers a menu to panels over com.canonical.dbusmenu at objectPath on the connection.
// Items are the menu's actions, numbered from 1 in the order they were added (the menu
// itself is 0); a number is never reused. Panels hear of every change to an action.
class DBusMenuExporter : public QObject {
    Q_OBJECT

public:
    DBusMenuExporter(QDBusConnection connection, StatusMenu* menu,
                     const QString& objectPath = QStringLiteral("/MenuBar"));
    ~DBusMenuExporter() override;

    // Where the menu is offered; "/" when it could not be (no connection, path taken).
    QDBusObjectPath objectPath() const;

Q_SIGNALS:
    void opened(); // a panel is opening the menu (once per opening)
    void closed(); // the panel closed it, or it can be inferred closed

private:
    friend class DBusMenuAdaptor;

    // What the D-Bus interface reads and does.
    DBusMenuLayoutItem layout(int parentId, int recursionDepth, const QStringList& names);
    bool hasItem(int id) const;
    // The ids of existing items among these, each once, in the order first named.
    QList<int> existingOnce(const QList<int>& ids) const;
    QVariantMap properties(int id, const QStringList& names) const;
    bool handleEvent(int id, const QString& eventId);
    bool aboutToShow(int id);

    void addAction(QAction* action);
    void actionAdded(QAction* action);
    void actionRemoved(QAction* action);
    // Each change of the layout gives it a new revision, sent with the next update.
    void layoutHasChanged();
    void actionChanged(QAction* action);
    QAction* actionFor(int id) const;
    QVariantMap propertiesOf(QAction* action) const;
    void scheduleUpdate();
    void sendUpdates();
    void beginOpening();
    void endOpening();

    QDBusConnection connection;
    DBusMenuAdaptor* adaptor = nullptr;
    QPointer<StatusMenu> menu;
    QString path;
    bool exported = false;

    QHash<QAction*, int> idsByAction;
    int nextId = 1;
    // What panels were last told of each item, so only real changes are sent.
    QHash<int, QVariantMap> sentProperties;
    QSet<int> changedIds;
    bool layoutChanged = false;
    bool updateScheduled = false;
    uint layoutRevision = 1;
    bool changedSinceRead = true;

    bool isOpen = false;
    QElapsedTimer sinceOpening;
};
