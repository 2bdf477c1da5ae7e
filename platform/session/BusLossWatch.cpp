// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusLossWatch.h"

#include <QApplication>
#include <QDBusConnection>

BusLossWatch::BusLossWatch(QObject* parent) : QObject(parent) {
    QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                                          QStringLiteral("org.freedesktop.DBus.Local"),
                                          QStringLiteral("Disconnected"), this, SLOT(busLost()));
}

void BusLossWatch::busLost() {
    QApplication::quit();
}
