// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellExtension.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <limits>

namespace {

QDBusMessage shellCall(const QString& method, const QString& uuid) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.gnome.Shell.Extensions"), method);
    message << uuid;
    // Only a running shell can say; none is started for the question.
    message.setAutoStartService(false);
    return message;
}

// The shell's numbers for an extension's state (ExtensionState in GNOME Shell).
ShellExtension::State stateFrom(const QVariantMap& info) {
    if (info.isEmpty()) {
        return ShellExtension::State::notInstalled;
    }
    switch (info.value(QStringLiteral("state")).toInt()) {
    case 1: // enabled
        return ShellExtension::State::on;
    case 2: // disabled
    case 6: // initialized, never enabled
        return ShellExtension::State::off;
    case 3: // error
    case 4: // out of date
        return ShellExtension::State::failed;
    case 99: // uninstalled
        return ShellExtension::State::notInstalled;
    default:
        return ShellExtension::State::unknown;
    }
}

} // namespace

void ShellExtension::askState(const QString& uuid, std::function<void(State)> answer) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [answer] { answer(State::unknown); },
            Qt::QueuedConnection);
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(
        bus.asyncCall(shellCall(QStringLiteral("GetExtensionInfo"), uuid)));
    QObject::connect(pending, &QDBusPendingCallWatcher::finished,
                     [answer](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         const QDBusPendingReply<QVariantMap> reply = *call;
                         answer(reply.isError() ? State::unknown : stateFrom(reply.value()));
                     });
}

void ShellExtension::enable(const QString& uuid) {
    QDBusConnection::sessionBus().send(shellCall(QStringLiteral("EnableExtension"), uuid));
}

void ShellExtension::install(const QString& uuid,
                             std::function<void(Installation, const QString&)> answer) {
    // The shell answers only once the user has chosen in its dialog, which may
    // stay open for long: the call waits as long as that takes.
    constexpr int noTimeout = std::numeric_limits<int>::max();
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(
        shellCall(QStringLiteral("InstallRemoteExtension"), uuid), noTimeout));
    QObject::connect(pending, &QDBusPendingCallWatcher::finished,
                     [answer](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         const QDBusPendingReply<QString> reply = *call;
                         if (reply.isError()) {
                             const QDBusError error = reply.error();
                             answer(Installation::failed,
                                    error.message().isEmpty() ? error.name() : error.message());
                         } else if (reply.value() == QLatin1String("cancelled")) {
                             answer(Installation::declined, {});
                         } else if (reply.value() == QLatin1String("successful")) {
                             answer(Installation::done, {});
                         } else {
                             answer(Installation::failed, reply.value());
                         }
                     });
}
