// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Application.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDBusServiceWatcher;

// The title of the Tallyglow running in this session, read over the session
// bus as it publishes it. Never starts a Tallyglow.
class RunningInstanceTitle : public QObject {
    Q_OBJECT

public:
    using Listener = std::function<void(const std::optional<PublishedTitle>&)>;

    explicit RunningInstanceTitle(QDBusConnection connection);

    // The title now; nothing when no Tallyglow runs on the bus, or there is no bus.
    std::optional<PublishedTitle> read() const;

    // Calls the listener with the title now and with each change after it,
    // and with nothing whenever no Tallyglow runs, for as long as this object lives.
    void follow(Listener listener);

private Q_SLOTS:
    void titleChanged(const QString& text, bool masked);

private:
    void fetch();

    QDBusConnection connection;
    Listener listener;
    QDBusServiceWatcher* ownerWatch = nullptr;
    // Counts the changes heard, so that an answer to an older question does
    // not overwrite a newer title.
    int changesHeard = 0;
};
