// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceService.h"

#include "InstanceAdaptor.h"

#include <QDBusConnection>
#include <chrono>
#include <utility>

InstanceService::InstanceService(std::function<void()> reopen, QObject* parent)
    : QObject(parent), reopen(std::move(reopen)) {
    new InstanceAdaptor(this);
    // Under the bus's own 25 s limit for an answer.
    waitLimit.setInterval(std::chrono::seconds(20));
    waitLimit.setSingleShot(true);
    connect(&waitLimit, &QTimer::timeout, this, [this] { answerWaitingReaders(); });
}

void InstanceService::publish(const QString& text, bool masked) {
    if (text == published.text && masked == published.masked) {
        return;
    }
    published = {text, masked};
    Q_EMIT TitleChanged(text, masked);
    answerWaitingReaders();
}

void InstanceService::Reopen() {
    reopen();
}

QString InstanceService::NextTitle(const QString& title, bool masked, bool& nextMasked) {
    if (title != published.text || masked != published.masked) {
        nextMasked = published.masked;
        return published.text;
    }
    setDelayedReply(true);
    waitingReaders << message();
    if (!waitLimit.isActive()) {
        waitLimit.start();
    }
    return {};
}

void InstanceService::answerWaitingReaders() {
    waitLimit.stop();
    for (const QDBusMessage& call : std::exchange(waitingReaders, {})) {
        QDBusConnection::sessionBus().send(
            call.createReply(QVariantList{published.text, published.masked}));
    }
}
