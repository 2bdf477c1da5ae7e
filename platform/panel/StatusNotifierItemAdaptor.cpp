// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierItemAdaptor.h"

#include <QDBusMetaType>

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierIconPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.bytes;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierIconPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.bytes;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip) {
    argument.beginStructure();
    argument << toolTip.iconName << toolTip.iconPixmaps << toolTip.title << toolTip.description;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip) {
    argument.beginStructure();
    argument >> toolTip.iconName >> toolTip.iconPixmaps >> toolTip.title >> toolTip.description;
    argument.endStructure();
    return argument;
}

void StatusNotifierItemAdaptor::registerTypes() {
    qDBusRegisterMetaType<StatusNotifierIconPixmap>();
    qDBusRegisterMetaType<QList<StatusNotifierIconPixmap>>();
    qDBusRegisterMetaType<StatusNotifierToolTip>();
}
