// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>

// One notice of the program's in the desktop's notifications
// (org.freedesktop.Notifications on the session bus): shown, shown again in its own place, or
// taken away. Without a notification service it shows nothing, silently.
class DesktopNotification final : public QObject {
    Q_OBJECT

public:
    // The program's name as the notice shows it.
    explicit DesktopNotification(QString applicationName);
    ~DesktopNotification() override;

    // Shows the notice in place of the one shown before. With a button
    // label, the notice offers a button that runs the action.
    void show(const QString& summary, const QString& body, const QString& buttonLabel = {},
              std::function<void()> action = {});
    // Takes the notice away, if it is still shown.
    void withdraw();

private Q_SLOTS:
    void actionInvoked(uint id, const QString& actionKey);
    void closed(uint id, uint reason);

private:
    QString applicationName;
    // The service's number for the notice shown; 0 for none.
    uint shownId = 0;
    // Withdrawn before the service said which number it gave the notice.
    bool withdrawnEarly = false;
    std::function<void()> buttonAction;
};
