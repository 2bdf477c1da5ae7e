// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace {

const char* const service = "org.freedesktop.Notifications";
const char* const path = "/org/freedesktop/Notifications";
const char* const interface = "org.freedesktop.Notifications";
const char* const buttonKey = "button";

QDBusMessage call(const QString& method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                          QString::fromLatin1(interface), method);
}

} // namespace

DesktopNotification::DesktopNotification(QString name) : applicationName(std::move(name)) {
    QDBusConnection connection = QDBusConnection::sessionBus();
    connection.connect(QString::fromLatin1(service), QString::fromLatin1(path),
                       QString::fromLatin1(interface), QStringLiteral("ActionInvoked"), this,
                       SLOT(actionInvoked(uint, QString)));
    connection.connect(QString::fromLatin1(service), QString::fromLatin1(path),
                       QString::fromLatin1(interface), QStringLiteral("NotificationClosed"), this,
                       SLOT(closed(uint, uint)));
}

DesktopNotification::~DesktopNotification() = default;

void DesktopNotification::show(const QString& summary, const QString& body,
                               const QString& buttonLabel, std::function<void()> action) {
    QDBusConnection connection = QDBusConnection::sessionBus();
    if (!connection.isConnected()) {
        return;
    }
    buttonAction = std::move(action);
    withdrawnEarly = false;
    QStringList actions;
    if (!buttonLabel.isEmpty()) {
        actions << QString::fromLatin1(buttonKey) << buttonLabel;
    }
    // The desktop entry, and the icon installed under its name, name the program.
    const QString entry = QGuiApplication::desktopFileName();
    const QVariantMap hints{{QStringLiteral("desktop-entry"), entry}};
    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << applicationName << shownId << entry << summary << body << actions << hints << -1;
    auto* pending = new QDBusPendingCallWatcher(connection.asyncCall(notify), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* answer) {
                answer->deleteLater();
                const QDBusPendingReply<uint> reply = *answer;
                if (reply.isError()) {
                    return;
                }
                shownId = reply.value();
                if (withdrawnEarly) {
                    withdraw();
                }
            });
}

void DesktopNotification::withdraw() {
    buttonAction = nullptr;
    if (shownId == 0) {
        withdrawnEarly = true;
        return;
    }
    QDBusMessage close = call(QStringLiteral("CloseNotification"));
    close << shownId;
    QDBusConnection::sessionBus().send(close);
    shownId = 0;
    withdrawnEarly = false;
}

void DesktopNotification::actionInvoked(uint id, const QString& actionKey) {
    if (id == shownId && id != 0 && actionKey == QLatin1String(buttonKey) && buttonAction) {
        buttonAction();
    }
}

void DesktopNotification::closed(uint id, uint) {
    if (id == shownId) {
        shownId = 0;
    }
}
