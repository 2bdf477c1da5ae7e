// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// A session bus that goes away takes the panel item with it: end as "Quit"
// does. Qt reports it as the bus's own Disconnected signal.
class BusLossWatch : public QObject {
    Q_OBJECT

public:
    explicit BusLossWatch(QObject* parent);

private Q_SLOTS:
    void busLost();
};
