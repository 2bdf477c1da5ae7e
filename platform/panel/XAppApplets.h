// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QSet>
#include <QString>

// XApp's status applets (Cinnamon's panel, MATE's XApp applet) on the session
// bus: each owns a name under org.x.StatusIconMonitor while it shows icons.
// Watched from the first use on, so that the process can start asking early.
class XAppApplets final : public QObject {
    Q_OBJECT

public:
    static XAppApplets& onSessionBus();

    // Whether the bus has said which applets are there; on no bus, at once.
    bool known() const { return answered; }
    bool any() const { return !applets.isEmpty(); }

Q_SIGNALS:
    // An applet came or left, or the bus first said which are there.
    void changed();

private:
    explicit XAppApplets(QDBusConnection connection);

    QSet<QString> applets;
    bool answered = false;
};
