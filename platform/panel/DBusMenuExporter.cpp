// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusMenuExporter.h"

#include "StatusMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QMetaObject>
#include <QtDebug>
#include <algorithm>

namespace {

// Hosts send several messages for one opening (AboutToShowGroup, AboutToShow, "opened");
// those arriving this soon after the first belong to the same opening.
constexpr qint64 sameOpeningMilliseconds = 300;

QVariantMap only(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty()) {
        return properties; // no names asks for all of them
    }
    QVariantMap chosen;
    for (const QString& name : names) {
        if (properties.contains(name)) {
            chosen.insert(name, properties.value(name));
        }
    }
    return chosen;
}

} // namespace

// The com.canonical.dbusmenu interface as panels call it, over the exporter. Argument
// types are spelled out, not aliased: Qt DBus looks them up by their written names.
class DBusMenuAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    explicit DBusMenuAdaptor(DBusMenuExporter* exporter)
        : QDBusAbstractAdaptor(exporter), exporter(exporter) {}

    uint version() const { return 3; }
    QString textDirection() const {
        return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                     : QStringLiteral("ltr");
    }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   const QDBusMessage& message, DBusMenuLayoutItem& layout) {
        if (!exporter->hasItem(parentId)) {
            refuse(message, QStringLiteral("No menu item %1").arg(parentId));
            return 0;
        }
        layout = exporter->layout(parentId, recursionDepth, propertyNames);
        return exporter->layoutRevision;
    }

    // Replies name each item once, however often a call repeats it: any
    // program may ask, and a reply must not grow with the asking.
    QList<DBusMenuItem> GetGroupProperties(const QList<int>& ids,
                                           const QStringList& propertyNames) {
        QList<DBusMenuItem> items;
        for (int id : exporter->existingOnce(ids)) {
            items << DBusMenuItem{id, exporter->properties(id, propertyNames)};
        }
        return items;
    }

    QDBusVariant GetProperty(int id, const QString& name, const QDBusMessage& message) {
        const QVariantMap properties = exporter->properties(id, {name});
        if (!properties.contains(name)) {
            refuse(message, QStringLiteral("No property %1 on menu item %2").arg(name).arg(id));
            return QDBusVariant(QString());
        }
        return QDBusVariant(properties.value(name));
    }

    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp,
               const QDBusMessage& message) {
        Q_UNUSED(data);
        Q_UNUSED(timestamp);
        if (!exporter->handleEvent(id, eventId)) {
            refuse(message, QStringLiteral("No menu item %1").arg(id));
        }
    }

    // The first event for each item counts.
    QList<int> EventGroup(const QList<DBusMenuEvent>& events) {
        QList<int> idErrors;
        QList<int> handled;
        for (const DBusMenuEvent& event : events) {
            if (!exporter->hasItem(event.id)) {
                idErrors << event.id;
            } else if (!handled.contains(event.id)) {
                handled << event.id;
                exporter->handleEvent(event.id, event.eventId);
            }
        }
        return distinct(idErrors);
    }

    bool AboutToShow(int id, const QDBusMessage& message) {
        if (!exporter->hasItem(id)) {
            refuse(message, QStringLiteral("No menu item %1").arg(id));
            return false;
        }
        return exporter->aboutToShow(id);
    }

    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
        if (ids.contains(0)) {
            exporter->aboutToShow(0); // one opening, however many ids came with it
        }
        for (int id : ids) {
            if (!exporter->hasItem(id)) {
                idErrors << id;
            }
        }
        idErrors = distinct(idErrors);
        return exporter->changedSinceRead ? exporter->existingOnce(ids) : QList<int>();
    }

Q_SIGNALS:
    void ItemsPropertiesUpdated(const QList<DBusMenuItem>& updatedProps,
                                const QList<DBusMenuItemKeys>& removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    static QList<int> distinct(QList<int> ids) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        return ids;
    }

    // Answers the call with an error in place of its return value.
    void refuse(const QDBusMessage& message, const QString& reason) {
        message.setDelayedReply(true);
        exporter->connection.send(message.createErrorReply(QDBusError::InvalidArgs, reason));
    }

    DBusMenuExporter* exporter;
};

DBusMenuExporter::DBusMenuExporter(QDBusConnection busConnection, StatusMenu* exportedMenu,
                                   const QString& objectPath)
    : connection(std::move(busConnection)), menu(exportedMenu), path(objectPath) {
    if (!connection.isConnected() || !menu) {
        return;
    }
    registerDBusMenuTypes();
    adaptor = new DBusMenuAdaptor(this);
    for (QAction* action : menu->actions()) {
        addAction(action);
    }
    connect(menu, &StatusMenu::actionAdded, this, &DBusMenuExporter::actionAdded);
    connect(menu, &StatusMenu::actionRemoved, this, &DBusMenuExporter::actionRemoved);
    exported = connection.registerObject(path, this, QDBusConnection::ExportAdaptors);
    if (!exported) {
        qWarning() << "The menu cannot be offered at" << path << "on the session bus";
    }
}

DBusMenuExporter::~DBusMenuExporter() {
    if (exported) {
        connection.unregisterObject(path);
    }
}

QDBusObjectPath DBusMenuExporter::objectPath() const {
    return QDBusObjectPath(exported ? path : QStringLiteral("/"));
}

void DBusMenuExporter::actionAdded(QAction* action) {
    addAction(action);
    layoutHasChanged();
}

void DBusMenuExporter::actionRemoved(QAction* action) {
    // The action may be half destroyed here: only its address is used.
    const int id = idsByAction.take(action);
    sentProperties.remove(id);
    changedIds.remove(id);
    layoutHasChanged();
}

void DBusMenuExporter::layoutHasChanged() {
    ++layoutRevision;
    layoutChanged = true;
    changedSinceRead = true;
    scheduleUpdate();
}

void DBusMenuExporter::actionChanged(QAction* action) {
    const int id = idsByAction.value(action);
    if (id != 0 && propertiesOf(action) != sentProperties.value(id)) {
        changedIds.insert(id);
        changedSinceRead = true;
        scheduleUpdate();
    }
}

void DBusMenuExporter::addAction(QAction* action) {
    if (idsByAction.contains(action)) {
        return;
    }
    const int id = nextId++;
    idsByAction.insert(action, id);
    connect(action, &QAction::changed, this, [this, action] { actionChanged(action); });
    sentProperties.insert(id, propertiesOf(action)); // panels read it with the layout
}

QAction* DBusMenuExporter::actionFor(int id) const {
    return id == 0 || !menu ? nullptr : idsByAction.key(id, nullptr);
}

bool DBusMenuExporter::hasItem(int id) const {
    return id == 0 || actionFor(id) != nullptr;
}

QList<int> DBusMenuExporter::existingOnce(const QList<int>& ids) const {
    QList<int> existing;
    for (int id : ids) {
        if (!existing.contains(id) && hasItem(id)) {
            existing << id;
        }
    }
    return existing;
}

QVariantMap DBusMenuExporter::propertiesOf(QAction* action) const {
    QVariantMap properties;
    if (action->isSeparator()) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        properties.insert(QStringLiteral("label"), dbusMenuLabel(action->text()));
        properties.insert(QStringLiteral("enabled"), action->isEnabled());
    }
    properties.insert(QStringLiteral("visible"), action->isVisible());
    if (action->isCheckable()) {
        const bool exclusive = action->actionGroup() && action->actionGroup()->isExclusive();
        properties.insert(QStringLiteral("toggle-type"),
                          exclusive ? QStringLiteral("radio") : QStringLiteral("checkmark"));
        properties.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
    }
    if (!action->shortcut().isEmpty()) {
        properties.insert(QStringLiteral("shortcut"),
                          QVariant::fromValue(dbusMenuShortcut(action->shortcut())));
    }
    return properties;
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList& names) const {
    if (id == 0) {
        return only({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
    }
    QAction* action = actionFor(id);
    return action ? only(propertiesOf(action), names) : QVariantMap();
}

DBusMenuLayoutItem DBusMenuExporter::layout(int parentId, int recursionDepth,
                                            const QStringList& names) {
    changedSinceRead = false;
    DBusMenuLayoutItem item{parentId, properties(parentId, names), {}};
    if (parentId == 0 && recursionDepth != 0 && menu) {
        for (QAction* action : menu->actions()) {
            const int id = idsByAction.value(action);
            item.children << DBusMenuLayoutItem{id, properties(id, names), {}};
        }
    }
    return item;
}

bool DBusMenuExporter::handleEvent(int id, const QString& eventId) {
    if (!hasItem(id)) {
        return false;
    }
    if (id == 0 && eventId == QLatin1String("opened")) {
        beginOpening();
    } else if (id == 0 && eventId == QLatin1String("closed")) {
        endOpening();
    } else if (eventId == QLatin1String("clicked")) {
        // Answered first, run after: the action may open a window or end the program,
        // and the panel waits for this call's reply.
        QMetaObject::invokeMethod(
            this,
            [this, action = QPointer<QAction>(actionFor(id))] {
                if (action && action->isVisible()) {
                    action->trigger();
                }
                endOpening(); // choosing an item closes the menu; not every panel says so
            },
            Qt::QueuedConnection);
    }
    return true;
}

bool DBusMenuExporter::aboutToShow(int id) {
    if (id == 0) {
        beginOpening();
    }
    // Asked after opened(), so a change its listeners make is read before the menu shows.
    return changedSinceRead;
}

void DBusMenuExporter::beginOpening() {
    if (isOpen) {
        if (sinceOpening.elapsed() < sameOpeningMilliseconds) {
            return;
        }
        // No "closed" came for the last opening: it ended when this one began.
        isOpen = false;
        Q_EMIT closed();
    }
    isOpen = true;
    sinceOpening.start();
    Q_EMIT opened();
}

void DBusMenuExporter::endOpening() {
    if (!isOpen) {
        return;
    }
    isOpen = false;
    Q_EMIT closed();
}

void DBusMenuExporter::scheduleUpdate() {
    if (updateScheduled) {
        return;
    }
    // One message for all changes of this event-loop turn.
    updateScheduled = true;
    QMetaObject::invokeMethod(this, &DBusMenuExporter::sendUpdates, Qt::QueuedConnection);
}

void DBusMenuExporter::sendUpdates() {
    updateScheduled = false;
    if (layoutChanged) {
        layoutChanged = false;
        Q_EMIT adaptor->LayoutUpdated(layoutRevision, 0);
    }
    QList<int> ids = changedIds.values();
    changedIds.clear();
    std::sort(ids.begin(), ids.end());
    DBusMenuItemList updated;
    DBusMenuItemKeysList removed;
    for (int id : ids) {
        QAction* action = actionFor(id);
        if (!action) {
            continue;
        }
        const QVariantMap now = propertiesOf(action);
        QVariantMap& before = sentProperties[id];
        DBusMenuItem changed{id, {}};
        DBusMenuItemKeys gone{id, {}};
        for (auto property = now.cbegin(); property != now.cend(); ++property) {
            if (!before.contains(property.key()) || before.value(property.key()) != *property) {
                changed.properties.insert(property.key(), *property);
            }
        }
        for (auto property = before.cbegin(); property != before.cend(); ++property) {
            if (!now.contains(property.key())) {
                gone.names << property.key();
            }
        }
        before = now;
        if (!changed.properties.isEmpty()) {
            updated << changed;
        }
        if (!gone.names.isEmpty()) {
            removed << gone;
        }
    }
    if (!updated.isEmpty() || !removed.isEmpty()) {
        Q_EMIT adaptor->ItemsPropertiesUpdated(updated, removed);
    }
}

#include "DBusMenuExporter.moc"
