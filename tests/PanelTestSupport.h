// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real program on a private session bus, seen the way a panel sees it: a
// watcher it registers with, and a host that reads its properties and signals.

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimeZone>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace PanelTesting {

using namespace std::chrono_literals;

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");

// Runs the event loop until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

inline void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// A dbus-daemon of our own, with no service activation, listening in a temporary folder.
class PrivateSessionBus {
public:
    explicit PrivateSessionBus(const std::filesystem::path& folder) {
        const auto configuration = folder / "bus.conf";
        writeWholeFile(configuration, "<busconfig><type>session</type>"
                                      "<listen>unix:path=" +
                                          (folder / "bus").string() +
                                          "</listen><auth>EXTERNAL</auth>"
                                          "<policy context=\"default\">"
                                          "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                          "<allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                                          "</policy></busconfig>");
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--config-file=") + QString::fromStdString(configuration)});
        if (daemon.waitForReadyRead(10000)) {
            busAddress = QString::fromUtf8(daemon.readLine()).trimmed();
        }
    }
    ~PrivateSessionBus() {
        for (const QString& name : connectionNames) {
            QDBusConnection::disconnectFromBus(name);
        }
        stopProcess(daemon);
    }

    const QString& address() const { return busAddress; }
    // Ends the bus, as a session that goes away does.
    void stop() { stopProcess(daemon); }

    // A new connection of the test's own. Qt keeps connections by name for the
    // whole process, so every bus names its own.
    QDBusConnection connect(const QString& name) {
        const QString fullName = name + u' ' + busAddress;
        connectionNames.push_back(fullName);
        return QDBusConnection::connectToBus(busAddress, fullName);
    }

    static void disconnect(const QDBusConnection& connection) {
        QDBusConnection::disconnectFromBus(connection.name());
    }

private:
    QProcess daemon;
    QString busAddress;
    std::vector<QString> connectionNames;
};

struct Registration {
    QString service;
    QString sender;
    // The item's label as the watcher read it while being told of the item.
    QString labelAtRegistration;
};

// Behaves like a panel's watcher: takes registrations, reads the new item at
// once and lists it. It can be told to drop items again, as a faulty panel does.
class TestWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER listed)

public:
    TestWatcher(PrivateSessionBus& bus, const QString& connectionName)
        : connection(bus.connect(connectionName)) {
        connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllProperties |
                                      QDBusConnection::ExportAllSignals);
        owned = connection.registerService(watcherName);
        connection.registerService(QStringLiteral("org.kde.StatusNotifierHost-%1")
                                       .arg(QCoreApplication::applicationPid()));
    }
    ~TestWatcher() override {
        if (busyThread) {
            busyThread->quit();
            busyThread->wait();
        }
        leave();
    }

    // As a panel busy at login: nothing sent to the watcher, registrations and
    // reads of its list alike, is answered before the time is up.
    void answerNothingFor(std::chrono::milliseconds busy) {
        busyThread = std::make_unique<QThread>();
        moveToThread(busyThread.get());
        busyThread->start();
        // Then back, with what it was sent meanwhile, to be answered and ended as any other.
        QMetaObject::invokeMethod(
            this,
            [this, busy] {
                QThread::msleep(busy.count());
                moveToThread(QCoreApplication::instance()->thread());
            },
            Qt::QueuedConnection);
    }

    // As when a panel quits: the connection closes and the name goes with it.
    void leave() {
        if (connection.isConnected()) {
            connection.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
            PrivateSessionBus::disconnect(connection);
        }
    }

    bool ownsName() const { return owned; }
    std::vector<Registration> registrations;
    // How many of the next registrations are dropped shortly after (-1: all),
    // and whether the item is told so or only left out of the list.
    int dropsToMake = 0;
    bool dropsSilently = false;
    // Whether items it takes are listed at all.
    bool listsItems = true;

Q_SIGNALS:
    void StatusNotifierItemUnregistered(const QString& service);

public Q_SLOTS:
    // An item names its service, or its object path on the connection it calls from.
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        const bool byPath = service.startsWith(u'/');
        const QString name = byPath ? message.service() : service;
        QDBusMessage get = QDBusMessage::createMethodCall(
            name, byPath ? service : itemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << itemInterface << QStringLiteral("XAyatanaLabel");
        const QDBusReply<QDBusVariant> label = connection.call(get, QDBus::Block, 5000);
        registrations.push_back({service, message.service(),
                                 label.isValid() ? label.value().variant().toString() : QString()});
        // Listed as Plasma lists items: the service, or the connection with the path.
        const QString item = byPath ? name + service : service;
        listed.removeAll(item);
        if (listsItems) {
            listed.append(item);
        }
        if (dropsToMake != 0) {
            dropsToMake = std::max(dropsToMake - 1, -1);
            QTimer::singleShot(100, this, [this, item] {
                listed.removeAll(item);
                if (!dropsSilently) {
                    Q_EMIT StatusNotifierItemUnregistered(item);
                }
            });
        }
    }

private:
    QDBusConnection connection;
    bool owned = false;
    QStringList listed;
    std::unique_ptr<QThread> busyThread;
};

// A desktop's notification service: keeps every notice it is sent.
class TestNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        uint id;
        QString summary;
        QStringList actions;
    };

    explicit TestNotifications(PrivateSessionBus& bus)
        : connection(bus.connect(QStringLiteral("notifications"))) {
        connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                  QDBusConnection::ExportAllSlots |
                                      QDBusConnection::ExportAllSignals);
        connection.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    // As when the user chooses one of a notice's buttons.
    void choose(uint id, const QString& actionKey) { Q_EMIT ActionInvoked(id, actionKey); }

    std::vector<Notice> notices;
    std::vector<uint> closed;

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& actionKey);

public Q_SLOTS:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary,
                const QString&, const QStringList& actions, const QVariantMap&, int) {
        const uint id = replacesId ? replacesId : uint(notices.size() + 1);
        notices.push_back({id, summary, actions});
        return id;
    }
    void CloseNotification(uint id) { closed.push_back(id); }

private:
    QDBusConnection connection;
};

// GNOME Shell with the AppIndicator extension installed and switched off, or none
// that it fetches with GNOME's reply ("successful", "cancelled"; empty: an error).
class TestShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.Extensions")

public:
    // installed: the extension's name here (Debian's differs); empty for none.
    TestShell(PrivateSessionBus& bus, QString installed, QString installReply = {})
        : installed(std::move(installed)), installReply(std::move(installReply)),
          connection(bus.connect(QStringLiteral("shell"))) {
        connection.registerObject(QStringLiteral("/org/gnome/Shell"), this,
                                  QDBusConnection::ExportAllSlots);
        connection.registerService(QStringLiteral("org.gnome.Shell"));
    }

    std::vector<QString> enabled;
    std::vector<QString> fetched;

public Q_SLOTS:
    QVariantMap GetExtensionInfo(const QString& uuid) {
        if (uuid != installed) {
            return {};
        }
        return {{QStringLiteral("uuid"), uuid}, {QStringLiteral("state"), 2.0}};
    }
    bool EnableExtension(const QString& uuid) {
        enabled.push_back(uuid);
        return true;
    }
    QString InstallRemoteExtension(const QString& uuid) {
        fetched.push_back(uuid);
        if (installReply.isEmpty()) {
            sendErrorReply(QStringLiteral("org.gnome.Shell.Extensions.Error.NotAllowed"),
                           QStringLiteral("Extension installation is not allowed"));
        }
        return installReply;
    }

private:
    QString installed;
    QString installReply;
    QDBusConnection connection;
};

// Plasma's shell: each script gets what the real one prints, or its error.
class TestPlasmaShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

public:
    TestPlasmaShell(PrivateSessionBus& bus, QString printed, QString error)
        : printed(std::move(printed)), error(std::move(error)),
          connection(bus.connect(QStringLiteral("plasmashell"))) {
        connection.registerObject(QStringLiteral("/PlasmaShell"), this,
                                  QDBusConnection::ExportAllSlots);
        connection.registerService(QStringLiteral("org.kde.plasmashell"));
    }
    int scripts = 0;

public Q_SLOTS:
    QString evaluateScript(const QString&) {
        ++scripts;
        if (!error.isEmpty()) {
            sendErrorReply(QDBusError::Failed, error);
        }
        return printed;
    }

private:
    QString printed, error;
    QDBusConnection connection;
};

// Collects the labels an item announces.
class LabelRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QString> labels;

public Q_SLOTS:
    void newLabel(const QString& label, const QString&) { labels.push_back(label); }
};

// Collects the messages of one signal, whatever its arguments.
class MessageRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QDBusMessage> messages;

public Q_SLOTS:
    void message(const QDBusMessage& message) { messages.push_back(message); }
};

// Today's working window, in a time zone where it is neither close to midnight.
struct WorkingClock {
    QByteArray timeZone;
    int minuteOfDay = 0;

    static WorkingClock now() {
        const QDateTime utc = QDateTime::currentDateTimeUtc();
        for (const char* zone : {"UTC", "Etc/GMT-6"}) {
            const QTime local = utc.toTimeZone(QTimeZone(zone)).time();
            const int minute = local.hour() * 60 + local.minute();
            if (minute >= 30 && minute <= 1400) {
                return {zone, minute};
            }
        }
        return {};
    }
};

inline std::string timeLines(const char* prefix, int minuteOfDay) {
    return std::string(prefix) + "Hour=" + std::to_string(minuteOfDay / 60) + "\n" + prefix +
           "Minute=" + std::to_string(minuteOfDay % 60) + "\n";
}

class PanelItemTest : public ::testing::Test {
protected:
    PanelItemTest() {
        std::filesystem::create_directories(folder / "runtime");
        std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
    }

    ~PanelItemTest() override {
        for (auto& program : programs) {
            stopProcess(*program);
        }
    }

    void storePreferences(const std::string& lines) {
        writeWholeFile(folder / "config" / "tallyglow" / "tallyglow.conf", "[General]\n" + lines);
    }

    // A working day that ended ten minutes ago.
    std::string windowOver() {
        return timeLines("start", 0) + timeLines("end", clock.minuteOfDay - 10);
    }

    // A working day of twenty minutes around now.
    std::string windowNow() {
        return timeLines("start", clock.minuteOfDay - 10) +
               timeLines("end", clock.minuteOfDay + 10);
    }

    // On Qt's offscreen platform, or on the X server of the given display.
    QProcess& launch(bool withSessionBus = true, const QString& display = {}) {
        auto& program = *programs.emplace_back(std::make_unique<QProcess>());
        program.setProcessEnvironment(programEnvironment(withSessionBus, display));
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(programFile, {});
        program.waitForStarted(5000);
        return program;
    }

    struct CommandOutput {
        int exitCode = -1;
        std::string output;
        std::string errors;
    };
    // The program with options, on no display at all: one that needs a display fails.
    CommandOutput runCommand(const QStringList& arguments, bool withSessionBus = true) {
        QProcess command;
        command.setProcessEnvironment(commandEnvironment(withSessionBus));
        command.start(programFile, arguments);
        const bool finished = command.waitForFinished(10000);
        stopProcess(command);
        return {finished ? command.exitCode() : -1, command.readAllStandardOutput().toStdString(),
                command.readAllStandardError().toStdString()};
    }

    QProcessEnvironment commandEnvironment(bool withSessionBus) {
        QProcessEnvironment withoutDisplay = programEnvironment(withSessionBus, {});
        withoutDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return withoutDisplay;
    }

    QProcessEnvironment programEnvironment(bool withSessionBus, const QString& display) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP"}) {
            environment.remove(QString::fromLatin1(name));
        }
        if (withSessionBus) {
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        }
        if (display.isEmpty()) {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            environment.insert(QStringLiteral("DISPLAY"), display);
        }
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder / "home"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString(folder / "config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString(runtimeFolder));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("TZ"), QString::fromLatin1(clock.timeZone));
        environment.insert(extraEnvironment);
        return environment;
    }

    static QString itemService(const QProcess& program) {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(program.processId());
    }
    // The program's own connection to the bus, which its item registers from.
    QString connectionOf(const QProcess& program) {
        return host.interface()->serviceOwner(itemService(program)).value();
    }

    QVariantMap itemProperties(const QProcess& program) {
        QDBusMessage getAll = QDBusMessage::createMethodCall(
            itemService(program), itemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("GetAll"));
        getAll << itemInterface;
        const QDBusReply<QVariantMap> reply = host.call(getAll, QDBus::Block, 5000);
        return reply.isValid() ? reply.value() : QVariantMap();
    }

    bool waitForRegistrations(const TestWatcher& watcher, std::size_t count) {
        return waitFor([&] { return watcher.registrations.size() >= count; }, 5s);
    }

    QStringList namesOnBus() { return host.interface()->registeredServiceNames().value(); }

    // Calls a method of the program's item, or of the menu it exports, as a panel does.
    QDBusMessage callItem(const QProcess& program, const QString& method,
                          const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(itemService(program), itemPath, itemInterface, method);
        call.setArguments(arguments);
        return host.call(call, QDBus::Block, 5000);
    }
    QDBusMessage callMenu(const QProcess& program, const QString& method,
                          const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(itemService(program), QStringLiteral("/MenuBar"),
                                           QStringLiteral("com.canonical.dbusmenu"), method);
        call.setArguments(arguments);
        return host.call(call, QDBus::Block, 5000);
    }
    // Has the recorder hear every label the program announces from now on.
    bool recordLabels(const QProcess& program, LabelRecorder& recorder) {
        return host.connect(itemService(program), itemPath, itemInterface,
                            QStringLiteral("XAyatanaNewLabel"), &recorder,
                            SLOT(newLabel(QString, QString)));
    }
    QString label(const QProcess& program) {
        return itemProperties(program).value("XAyatanaLabel").toString();
    }

    // The program launch() starts: the one in the build folder, unless a test
    // installed one elsewhere.
    QString programFile = QStringLiteral(TALLYGLOW_PROGRAM);
    TemporaryFolder folder;
    // Set for the programs launched from now on, over everything else.
    QProcessEnvironment extraEnvironment;
    // The program's XDG_RUNTIME_DIR; a test with a PipeWire daemon points it at the daemon's.
    std::filesystem::path runtimeFolder = folder / "runtime";
    WorkingClock clock = WorkingClock::now();
    PrivateSessionBus bus{folder.path()};
    QDBusConnection host = bus.connect(QStringLiteral("host"));
    std::vector<std::unique_ptr<QProcess>> programs;
};

} // namespace PanelTesting
