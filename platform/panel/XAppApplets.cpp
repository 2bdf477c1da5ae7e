// SPDX-License-Identifier: GPL-3.0-or-later
#include "XAppApplets.h"

#include "BusCall.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

const char* const appletNamespace = "org.x.StatusIconMonitor";

} // namespace

XAppApplets& XAppApplets::onSessionBus() {
    // Lives as long as the application, which owns it.
    static XAppApplets* const applets = new XAppApplets(QDBusConnection::sessionBus());
    return *applets;
}

XAppApplets::XAppApplets(QDBusConnection connection) : QObject(QCoreApplication::instance()) {
    if (!connection.isConnected()) {
        answered = true;
        return;
    }
    // A name ending in "*" has Qt watch the whole namespace.
    auto* watch = new QDBusServiceWatcher(QString::fromLatin1(appletNamespace) + u'*', connection,
                                          QDBusServiceWatcher::WatchForRegistration |
                                              QDBusServiceWatcher::WatchForUnregistration,
                                          this);
    connect(watch, &QDBusServiceWatcher::serviceRegistered, this, [this](const QString& name) {
        applets.insert(name);
        Q_EMIT changed();
    });
    connect(watch, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& name) {
        applets.remove(name);
        Q_EMIT changed();
    });
    // The watch tells of changes only: the applets already there are asked
    // for after it, so that the bus answers in the order of the two. Not
    // waited for: the program goes on starting meanwhile.
    auto* names = new QDBusPendingCallWatcher(
        connection.asyncCall(busCall(QStringLiteral("ListNames"))), this);
    connect(names, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> reply = *call;
        for (const QString& name : reply.value()) {
            if (name.startsWith(QString::fromLatin1(appletNamespace) + u'.')) {
                applets.insert(name);
            }
        }
        answered = true;
        Q_EMIT changed();
    });
}
