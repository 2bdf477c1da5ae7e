// SPDX-License-Identifier: GPL-3.0-or-later
// The floor Tallyglow's idle figures are measured against: a Qt Widgets
// program on the session bus that offers itself to the panel's watcher and
// runs a half-second timer, and does nothing else.

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name =
        QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid());
    bus.registerService(name);
    QMetaObject::invokeMethod(
        &application,
        [&] {
            QDBusMessage call =
                QDBusMessage::createMethodCall(QStringLiteral("org.kde.StatusNotifierWatcher"),
                                               QStringLiteral("/StatusNotifierWatcher"),
                                               QStringLiteral("org.kde.StatusNotifierWatcher"),
                                               QStringLiteral("RegisterStatusNotifierItem"));
            call << name;
            bus.send(call);
        },
        Qt::QueuedConnection);

    int ticks = 0;
    QTimer timer;
    timer.setTimerType(Qt::CoarseTimer);
    timer.setInterval(500);
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    return QApplication::exec();
}
