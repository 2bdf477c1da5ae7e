// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QKeySequence>
#include <QList>
#include <QMetaType>
#include <QStringList>
#include <QVariantMap>

// The com.canonical.dbusmenu wire types, as the exporter sends them and a reader reads them.

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

// An action's text as a panel's label: Qt marks the mnemonic with '&', panels with '_'.
QString dbusMenuLabel(const QString& text);
// A key sequence as panels read it.
DBusMenuShortcut dbusMenuShortcut(const QKeySequence& sequence);
