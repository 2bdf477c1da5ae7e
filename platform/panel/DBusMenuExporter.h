#pragma once

#include <QDBusArgument>
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
class QMenu;

// One menu item with its properties, "(ia{sv})".
struct DBusMenuItem {
    int id = 0;
    QVariantMap properties;
};

// Property names an item no longer has, "(ias)".
struct DBusMenuItemKeys {
    int id = 0;
    QStringList names;
};

// An item with the items below it, "(ia{sv}av)"; each child is a variant holding the same shape.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// One event a panel reports, "(isvu)".
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

using DBusMenuItemList = QList<DBusMenuItem>;
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;
using DBusMenuEventList = QList<DBusMenuEvent>;
// A shortcut as panels read it: one list of key names per key press, e.g. {{"Control", "q"}}.
using DBusMenuShortcut = QList<QStringList>;

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& keys);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& keys);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

Q_DECLARE_METATYPE(DBusMenuItem)
Q_DECLARE_METATYPE(DBusMenuItemKeys)
Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuEvent)

// Registers the types above with Qt DBus; the exporter does it, a reader of the menu calls it too.
void registerDBusMenuTypes();

// Offers a QMenu to panels over com.canonical.dbusmenu at objectPath on the connection.
// Items are the menu's actions, numbered from 1 in the order they were added (the menu
// itself is 0); a number is never reused. Panels hear of every change to an action.
class DBusMenuExporter : public QObject {
    Q_OBJECT

public:
    DBusMenuExporter(QDBusConnection connection, QMenu* menu,
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
    QVariantMap properties(int id, const QStringList& names) const;
    bool handleEvent(int id, const QString& eventId);
    bool aboutToShow(int id);

    bool eventFilter(QObject* watched, QEvent* event) override;

    void addAction(QAction* action);
    QAction* actionFor(int id) const;
    QVariantMap propertiesOf(QAction* action) const;
    void scheduleUpdate();
    void sendUpdates();
    void beginOpening();
    void endOpening();

    QDBusConnection connection;
    DBusMenuAdaptor* adaptor = nullptr;
    QPointer<QMenu> menu;
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
