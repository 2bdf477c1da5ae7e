// The real program on a private session bus, seen the way a panel sees it: a
// watcher it registers with, and a host that reads its properties and signals.

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTimeZone>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");

// Runs the event loop until the condition holds or the time is up.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
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

void stopProcess(QProcess& process) {
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

// Behaves like a panel's watcher: takes registrations and reads the new item at once.
class TestWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

public:
    TestWatcher(PrivateSessionBus& bus, const QString& connectionName)
        : connection(bus.connect(connectionName)) {
        connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                  QDBusConnection::ExportAllSlots);
        owned = connection.registerService(watcherName);
        connection.registerService(QStringLiteral("org.kde.StatusNotifierHost-%1")
                                       .arg(QCoreApplication::applicationPid()));
    }
    ~TestWatcher() override { leave(); }

    // As when a panel quits: the connection closes and the name goes with it.
    void leave() {
        if (connection.isConnected()) {
            connection.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
            PrivateSessionBus::disconnect(connection);
        }
    }

    bool ownsName() const { return owned; }
    std::vector<Registration> registrations;

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, itemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << itemInterface << QStringLiteral("XAyatanaLabel");
        const QDBusReply<QDBusVariant> label = connection.call(get, QDBus::Block, 5000);
        registrations.push_back({service, message.service(),
                                 label.isValid() ? label.value().variant().toString() : QString()});
    }

private:
    QDBusConnection connection;
    bool owned = false;
};

// Collects the labels an item announces.
class LabelRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QString> labels;

public Q_SLOTS:
    void newLabel(const QString& label, const QString&) { labels.push_back(label); }
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

std::string timeLines(const char* prefix, int minuteOfDay) {
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

    QProcess& launch(bool withSessionBus = true) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
            environment.remove(QString::fromLatin1(name));
        }
        if (withSessionBus) {
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        }
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder / "home"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString(folder / "config"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QString::fromStdString(folder / "runtime"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("TZ"), QString::fromLatin1(clock.timeZone));
        auto& program = *programs.emplace_back(std::make_unique<QProcess>());
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(TALLYGLOW_PROGRAM), {});
        program.waitForStarted(5000);
        return program;
    }

    static QString itemService(const QProcess& program) {
        return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(program.processId());
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

    TemporaryFolder folder;
    WorkingClock clock = WorkingClock::now();
    PrivateSessionBus bus{folder.path()};
    QDBusConnection host = bus.connect(QStringLiteral("host"));
    std::vector<std::unique_ptr<QProcess>> programs;
};

TEST_F(PanelItemTest, RegistersWithItsFirstTitleAlreadyInPlace) {
    ASSERT_FALSE(clock.timeZone.isEmpty());
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    ASSERT_TRUE(watcher.ownsName());
    QProcess& program = launch();

    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    const Registration& registration = watcher.registrations.front();
    EXPECT_EQ(registration.service, itemService(program));
    EXPECT_EQ(registration.labelAtRegistration, QStringLiteral("$200.00"));
    EXPECT_EQ(host.interface()->serviceOwner(itemService(program)).value(), registration.sender);

    const QVariantMap properties = itemProperties(program);
    EXPECT_EQ(properties.value("XAyatanaLabel").toString(), QStringLiteral("$200.00"));
    EXPECT_EQ(properties.value("XAyatanaLabelGuide").toString(), QStringLiteral("$000.00"));
    EXPECT_EQ(properties.value("Title").toString(), QStringLiteral("$200.00"));
    EXPECT_EQ(properties.value("Id").toString(), QStringLiteral("tallyglow"));
    EXPECT_EQ(properties.value("Category").toString(), QStringLiteral("ApplicationStatus"));
    EXPECT_EQ(properties.value("Status").toString(), QStringLiteral("Active"));
    EXPECT_EQ(properties.value("IconName").toString(), QStringLiteral("tallyglow"));
    const QString iconFolder = properties.value("IconThemePath").toString();
    EXPECT_TRUE(std::filesystem::exists(iconFolder.toStdString() + "/tallyglow.svg"))
        << iconFolder.toStdString();

    // The tooltip, "(sa(iiay)ss)", carries the title too.
    const QDBusArgument toolTip = properties.value("ToolTip").value<QDBusArgument>();
    QString iconName, title, description;
    toolTip.beginStructure();
    toolTip >> iconName;
    toolTip.beginArray();
    toolTip.endArray();
    toolTip >> title >> description;
    toolTip.endStructure();
    EXPECT_EQ(title, QStringLiteral("$200.00"));
}

struct StoredLabel {
    const char* name;
    std::string preferences;
    const char* label;
};

void PrintTo(const StoredLabel& stored, std::ostream* stream) {
    *stream << stored.name;
}

class StoredLabelTest : public PanelItemTest, public ::testing::WithParamInterface<StoredLabel> {};

TEST_P(StoredLabelTest, ShowsTheStoredSettingsFromTheStart) {
    storePreferences(GetParam().preferences + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_EQ(watcher.registrations.front().labelAtRegistration,
              QString::fromUtf8(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(
    Preferences, StoredLabelTest,
    ::testing::Values(StoredLabel{"WholePayAfterTheDay", "dailyPay=200\ncurrencySymbol=$\n",
                                  "$200.00"},
                      StoredLabel{"SwissFrancs", "dailyPay=12.3\ncurrencySymbol=CHF\n", "CHF12.30"},
                      StoredLabel{"Masked", "dailyPay=200\ncurrencySymbol=$\nmaskEarnings=true\n",
                                  "$\u2022\u2022\u2022.\u2022\u2022"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelItemTest, MaskedAmountNeverTravelsOnTheBus) {
    // Everything on the bus, as a monitor sees it.
    QProcess monitor;
    monitor.start(QStringLiteral("dbus-monitor"),
                  {QStringLiteral("--address"), bus.address(), QStringLiteral("--monitor")});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] { return monitor.bytesAvailable() > 0; }, 5s));

    storePreferences("dailyPay=987.65\ncurrencySymbol=$\nmaskEarnings=true\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    itemProperties(program);
    waitFor([] { return false; }, 1200ms); // a few ticks
    stopProcess(program);
    stopProcess(monitor);

    const QString traffic = QString::fromUtf8(monitor.readAllStandardOutput());
    // The monitor did see the label, so what it missed cannot hide a leak.
    EXPECT_TRUE(traffic.contains(QStringLiteral("$\u2022\u2022\u2022.\u2022\u2022")));
    const QRegularExpression stringValue(QStringLiteral("string \"([^\"]*)\""));
    for (const auto& match : stringValue.globalMatch(traffic)) {
        const QString text = match.captured(1);
        EXPECT_FALSE(text.contains(QStringLiteral("987"))) << text.toStdString();
        if (text.contains(u'$') || text.contains(QChar(0x2022))) {
            EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\d"))))
                << text.toStdString();
        }
    }
}

TEST_F(PanelItemTest, LabelFollowsPayAsItAccrues) {
    // 1,200,000 over twenty minutes: a thousand a second, so every tick shows.
    storePreferences("dailyPay=1200000\ncurrencySymbol=$\n" + windowNow());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    LabelRecorder recorder;
    ASSERT_TRUE(host.connect(itemService(program), itemPath, itemInterface,
                             QStringLiteral("XAyatanaNewLabel"), &recorder,
                             SLOT(newLabel(QString, QString))));

    ASSERT_TRUE(waitFor([&] { return !recorder.labels.empty(); }, 1500ms));
    const QString first = watcher.registrations.front().labelAtRegistration;
    const QString next = recorder.labels.front();
    ASSERT_TRUE(first.startsWith(u'$') && next.startsWith(u'$'));
    EXPECT_GT(next.mid(1).toDouble(), first.mid(1).toDouble());
    EXPECT_EQ(itemProperties(program).value("XAyatanaLabel").toString(), recorder.labels.back());
}

TEST_F(PanelItemTest, TellsThePanelNothingWhileTheLabelStaysTheSame) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    LabelRecorder recorder;
    ASSERT_TRUE(host.connect(itemService(program), itemPath, itemInterface,
                             QStringLiteral("XAyatanaNewLabel"), &recorder,
                             SLOT(newLabel(QString, QString))));
    waitFor([] { return false; }, 1500ms); // three ticks
    EXPECT_TRUE(recorder.labels.empty());
}

TEST_F(PanelItemTest, RegistersAgainWhenThePanelRestarts) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess* program = nullptr;
    {
        TestWatcher first(bus, QStringLiteral("first watcher"));
        program = &launch();
        ASSERT_TRUE(waitForRegistrations(first, 1));
    }
    TestWatcher second(bus, QStringLiteral("second watcher"));
    ASSERT_TRUE(second.ownsName());
    ASSERT_TRUE(waitForRegistrations(second, 1));
    EXPECT_EQ(second.registrations.front().service, itemService(*program));
    EXPECT_EQ(second.registrations.front().labelAtRegistration, QStringLiteral("$200.00"));
}

TEST_F(PanelItemTest, RegistersWithAPanelThatStartsLater) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess& program = launch();
    ASSERT_TRUE(waitFor([&] { return namesOnBus().contains(itemService(program)); }, 5s));
    waitFor([] { return false; }, 700ms); // past the program's own attempt to register

    TestWatcher watcher(bus, QStringLiteral("watcher"));
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_EQ(watcher.registrations.front().service, itemService(program));
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(PanelItemTest, SecondLaunchLeavesTheFirstAlone) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& first = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));

    QProcess& second = launch();
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    waitFor([] { return false; }, 300ms);
    EXPECT_EQ(watcher.registrations.size(), 1u);
    EXPECT_EQ(namesOnBus().filter(QStringLiteral("org.kde.StatusNotifierItem-")),
              QStringList{itemService(first)});
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(PanelItemTest, KeepsRunningWithoutASessionBus) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess& program = launch(/*withSessionBus=*/false);
    EXPECT_FALSE(program.waitForFinished(2500));
    EXPECT_EQ(program.state(), QProcess::Running);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "PanelItemTests.moc"
