// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunningInstanceTitle.h"

#include "InstanceBus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace {

constexpr int answerTimeout = 5000; // milliseconds

QDBusMessage askForTitle() {
    QDBusMessage getAll = QDBusMessage::createMethodCall(
        InstanceBus::name(), InstanceBus::path(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    getAll << QString::fromLatin1(InstanceProxy::staticInterfaceName());
    // Asking must not start a Tallyglow where the bus could.
    getAll.setAutoStartService(false);
    return getAll;
}

std::optional<PublishedTitle> titleIn(const QVariantMap& properties) {
    if (!properties.contains(QStringLiteral("Title"))) {
        return std::nullopt; // a Tallyglow that publishes no title
    }
    return PublishedTitle{properties.value(QStringLiteral("Title")).toString().toStdString(),
                          properties.value(QStringLiteral("Masked")).toBool()};
}

} // namespace

RunningInstanceTitle::RunningInstanceTitle(QDBusConnection connection)
    : connection(std::move(connection)) {}

std::optional<PublishedTitle> RunningInstanceTitle::read() const {
    if (!connection.isConnected()) {
        return std::nullopt;
    }
    // Read as a plain message: an error reply filled into a typed reply makes
    // Qt warn on standard error, which is for our one line only.
    const QDBusMessage reply = connection.call(askForTitle(), QDBus::Block, answerTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return titleIn(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
}

void RunningInstanceTitle::follow(Listener newListener) {
    listener = std::move(newListener);
    if (!connection.isConnected()) {
        listener(std::nullopt);
        return;
    }
    // Heard before the first answer, so no change falls between the two.
    connection.connect(InstanceBus::name(), InstanceBus::path(),
                       QString::fromLatin1(InstanceProxy::staticInterfaceName()),
                       QStringLiteral("TitleChanged"), this, SLOT(titleChanged(QString, bool)));
    ownerWatch = new QDBusServiceWatcher(InstanceBus::name(), connection,
                                         QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(ownerWatch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                ++changesHeard;
                if (newOwner.isEmpty()) {
                    listener(std::nullopt);
                } else {
                    fetch();
                }
            });
    fetch();
}

void RunningInstanceTitle::fetch() {
    const int changesBefore = changesHeard;
    auto* pending =
        new QDBusPendingCallWatcher(connection.asyncCall(askForTitle(), answerTimeout), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, changesBefore](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (changesHeard != changesBefore) {
                    return; // a newer title, or the end of the instance, came first
                }
                const QDBusPendingReply<QVariantMap> reply = *call;
                listener(reply.isError() ? std::nullopt : titleIn(reply.value()));
            });
}

void RunningInstanceTitle::titleChanged(const QString& text, bool masked) {
    ++changesHeard;
    listener(PublishedTitle{text.toStdString(), masked});
}
