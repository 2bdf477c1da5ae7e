// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusMenuTypes.h"

#include <QDBusMetaType>
#include <QHash>
#include <QKeySequence>

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& keys) {
    argument.beginStructure();
    argument << keys.id << keys.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& keys) {
    argument.beginStructure();
    argument >> keys.id >> keys.names;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children) {
        argument << QDBusVariant(QVariant::fromValue(child));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument >> item.id >> item.properties;
    item.children.clear();
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        DBusMenuLayoutItem childItem;
        if (child.variant().canConvert<QDBusArgument>()) {
            child.variant().value<QDBusArgument>() >> childItem;
        }
        item.children << childItem;
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

void registerDBusMenuTypes() {
    qDBusRegisterMetaType<DBusMenuItem>();
    qDBusRegisterMetaType<DBusMenuItemList>();
    qDBusRegisterMetaType<DBusMenuItemKeys>();
    qDBusRegisterMetaType<DBusMenuItemKeysList>();
    qDBusRegisterMetaType<DBusMenuLayoutItem>();
    qDBusRegisterMetaType<DBusMenuEvent>();
    qDBusRegisterMetaType<DBusMenuEventList>();
    qDBusRegisterMetaType<DBusMenuShortcut>();
}

QString dbusMenuLabel(const QString& text) {
    // Qt marks the mnemonic with '&' ("&&" is a literal one); panels use '_' ("__").
    QString label;
    label.reserve(text.size());
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar character = text[index];
        if (character == u'&' && index + 1 < text.size()) {
            const QChar next = text[++index];
            if (next == u'&') {
                label += u'&';
            } else if (next == u'_') {
                label += QStringLiteral("__");
            } else {
                label += u'_';
                label += next;
            }
        } else if (character == u'_') {
            label += QStringLiteral("__");
        } else {
            label += character;
        }
    }
    return label;
}

namespace {

QString keyName(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return QString(QChar(u'a' + (key - Qt::Key_A)));
    }
    // The names panels know (X key names) where Qt abbreviates.
    static const QHash<QString, QString> panelNames{
        {QStringLiteral("Esc"), QStringLiteral("Escape")},
        {QStringLiteral("Del"), QStringLiteral("Delete")},
        {QStringLiteral("Ins"), QStringLiteral("Insert")},
        {QStringLiteral("PgUp"), QStringLiteral("Page_Up")},
        {QStringLiteral("PgDown"), QStringLiteral("Page_Down")},
    };
    const QString name = QKeySequence(key).toString(QKeySequence::PortableText);
    return panelNames.value(name, name);
}

} // namespace

DBusMenuShortcut dbusMenuShortcut(const QKeySequence& sequence) {
    DBusMenuShortcut shortcut;
    for (int index = 0; index < sequence.count(); ++index) {
        const QKeyCombination combination = sequence[index];
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        QStringList keys;
        if (modifiers & Qt::ControlModifier) {
            keys << QStringLiteral("Control");
        }
        if (modifiers & Qt::AltModifier) {
            keys << QStringLiteral("Alt");
        }
        if (modifiers & Qt::ShiftModifier) {
            keys << QStringLiteral("Shift");
        }
        if (modifiers & Qt::MetaModifier) {
            keys << QStringLiteral("Super");
        }
        keys << keyName(combination.key());
        shortcut << keys;
    }
    return shortcut;
}
