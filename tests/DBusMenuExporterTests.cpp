// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusMenuExporter.h"
#include "StatusMenu.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/prctl.h>
#include <vector>

namespace {

const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");

// Keeps the messages of one D-Bus signal, as a panel hears them.
class SignalRecorder : public QObject {
    Q_OBJECT

public:
    QList<QDBusMessage> messages;

public Q_SLOTS:
    void record(const QDBusMessage& message) { messages << message; }
};

// The program's menu offered on a private bus, and a second connection acting as the panel.
class DBusMenuExporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Should the test crash, the daemon ends with it.
        daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        // Listening in the test's folder: the session default, a socket in
        // /tmp, would stay behind the killed daemon.
        daemon.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"),
             QStringLiteral("--print-address"),
             QStringLiteral("--address=unix:path=") + QString::fromStdString(folder / "bus")});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        ASSERT_TRUE(daemon.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        const QString suffix = QString::number(++connectionCount);
        programBus = QDBusConnection::connectToBus(address, QStringLiteral("program") + suffix);
        panelBus = QDBusConnection::connectToBus(address, QStringLiteral("panel") + suffix);
        ASSERT_TRUE(programBus.isConnected() && panelBus.isConnected());

        mask = menu.addAction(QStringLiteral("Mask"));
        mask->setCheckable(true);
        settings = menu.addAction(QString::fromUtf8("Settings\u2026"));
        menu.addSeparator();
        quit = menu.addAction(QStringLiteral("Quit Tallyglow"));
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        exporter = std::make_unique<DBusMenuExporter>(programBus, &menu);
        ASSERT_EQ(exporter->objectPath().path(), QStringLiteral("/MenuBar"));
    }

    void TearDown() override {
        exporter.reset();
        QDBusConnection::disconnectFromBus(programBus.name());
        QDBusConnection::disconnectFromBus(panelBus.name());
        daemon.kill();
        daemon.waitForFinished(5000);
    }

    QDBusMessage call(const QString& method, const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            programBus.baseService(), QStringLiteral("/MenuBar"), menuInterface, method);
        message.setArguments(arguments);
        // Both ends live on this thread: wait with the event loop running.
        return panelBus.call(message, QDBus::BlockWithGui, 5000);
    }

    DBusMenuLayoutItem readLayout(const QStringList& names = {}) {
        const QDBusMessage reply = call(QStringLiteral("GetLayout"), {0, -1, names});
        EXPECT_EQ(reply.signature(), QStringLiteral("u(ia{sv}av)"))
            << qPrintable(reply.errorMessage());
        return reply.arguments().size() == 2 ? qdbus_cast<DBusMenuLayoutItem>(reply.arguments()[1])
                                             : DBusMenuLayoutItem{};
    }

    bool aboutToShow(int id) {
        return call(QStringLiteral("AboutToShow"), {id}).arguments().value(0).toBool();
    }

    void sendEvent(int id, const QString& eventId) {
        const QDBusMessage reply =
            call(QStringLiteral("Event"), {id, eventId, QVariant::fromValue(QDBusVariant(0)), 0u});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << qPrintable(reply.errorMessage());
    }

    void listen(const QString& signal, SignalRecorder& recorder) {
        ASSERT_TRUE(panelBus.connect(programBus.baseService(), QStringLiteral("/MenuBar"),
                                     menuInterface, signal, &recorder, SLOT(record(QDBusMessage))));
    }

    static std::vector<int> idsOf(const DBusMenuLayoutItem& layout) {
        std::vector<int> ids;
        for (const DBusMenuLayoutItem& child : layout.children) {
            ids.push_back(child.id);
        }
        return ids;
    }

    static inline int connectionCount = 0;
    TemporaryFolder folder;
    QProcess daemon;
    QDBusConnection programBus{QString()};
    QDBusConnection panelBus{QString()};
    StatusMenu menu;
    QAction* mask = nullptr;
    QAction* settings = nullptr;
    QAction* quit = nullptr;
    std::unique_ptr<DBusMenuExporter> exporter;
};

TEST_F(DBusMenuExporterTest, PanelReadsTheItemsInOrderWithTheirProperties) {
    const DBusMenuLayoutItem layout = readLayout();
    EXPECT_EQ(layout.id, 0);
    ASSERT_EQ(idsOf(layout), (std::vector<int>{1, 2, 3, 4}));

    const QVariantMap& maskItem = layout.children[0].properties;
    EXPECT_EQ(maskItem.value("label").toString(), QStringLiteral("Mask"));
    EXPECT_EQ(maskItem.value("toggle-type").toString(), QStringLiteral("checkmark"));
    EXPECT_EQ(maskItem.value("toggle-state").toInt(), 0);
    EXPECT_TRUE(maskItem.value("enabled").toBool());

    const QVariantMap& settingsItem = layout.children[1].properties;
    EXPECT_EQ(settingsItem.value("label").toString(), QString::fromUtf8("Settings\u2026"));
    EXPECT_FALSE(settingsItem.contains("toggle-type"));
    EXPECT_FALSE(settingsItem.contains("shortcut"));

    EXPECT_EQ(layout.children[2].properties.value("type").toString(), QStringLiteral("separator"));
    EXPECT_FALSE(layout.children[2].properties.contains("label"));

    const QVariantMap& quitItem = layout.children[3].properties;
    EXPECT_EQ(quitItem.value("label").toString(), QStringLiteral("Quit Tallyglow"));
    EXPECT_EQ(qdbus_cast<DBusMenuShortcut>(quitItem.value("shortcut")),
              (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("q")}}));

    QDBusMessage version = QDBusMessage::createMethodCall(
        programBus.baseService(), QStringLiteral("/MenuBar"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    version << menuInterface << QStringLiteral("Version");
    const QDBusMessage reply = panelBus.call(version, QDBus::BlockWithGui, 5000);
    EXPECT_EQ(reply.arguments().value(0).value<QDBusVariant>().variant().toUInt(), 3u);
}

TEST_F(DBusMenuExporterTest, AddedItemsGetNewIdsAndMnemonicsBecomeUnderscores) {
    const uint revisionBefore =
        call(QStringLiteral("GetLayout"), {0, -1, QStringList()}).arguments().value(0).toUInt();
    menu.removeAction(settings);
    menu.addAction(QStringLiteral("&Open file_name"));
    menu.addAction(QStringLiteral("Fish && Chips"));

    const QDBusMessage reply = call(QStringLiteral("GetLayout"), {0, -1, QStringList{"label"}});
    EXPECT_GT(reply.arguments().value(0).toUInt(), revisionBefore);
    const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().value(1));
    // Remaining items keep their ids, so a panel's open menu still points at the right actions.
    ASSERT_EQ(idsOf(layout), (std::vector<int>{1, 3, 4, 5, 6}));
    EXPECT_EQ(layout.children[3].properties, (QVariantMap{{"label", "_Open file__name"}}));
    EXPECT_EQ(layout.children[4].properties, (QVariantMap{{"label", "Fish & Chips"}}));
}

TEST_F(DBusMenuExporterTest, ClickTriggersExactlyThatAction) {
    QSignalSpy maskTriggered(mask, &QAction::triggered);
    QSignalSpy settingsTriggered(settings, &QAction::triggered);
    QSignalSpy quitTriggered(quit, &QAction::triggered);

    sendEvent(2, QStringLiteral("clicked"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return settingsTriggered.count() == 1; }, 2000));
    sendEvent(1, QStringLiteral("clicked"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return maskTriggered.count() == 1; }, 2000));
    EXPECT_TRUE(mask->isChecked());
    EXPECT_EQ(settingsTriggered.count(), 1);
    EXPECT_EQ(quitTriggered.count(), 0);

    const QDBusMessage unknown =
        call(QStringLiteral("Event"),
             {99, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    EXPECT_EQ(unknown.type(), QDBusMessage::ErrorMessage);
}

TEST_F(DBusMenuExporterTest, ChangedActionIsSentAsItsChangedProperties) {
    SignalRecorder propertyUpdates;
    SignalRecorder layoutUpdates;
    listen(QStringLiteral("ItemsPropertiesUpdated"), propertyUpdates);
    listen(QStringLiteral("LayoutUpdated"), layoutUpdates);
    readLayout();
    EXPECT_FALSE(aboutToShow(0));

    mask->setChecked(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !propertyUpdates.messages.isEmpty(); }, 2000));
    const auto updated = qdbus_cast<DBusMenuItemList>(propertyUpdates.messages[0].arguments()[0]);
    ASSERT_EQ(updated.size(), 1);
    EXPECT_EQ(updated[0].id, 1);
    EXPECT_EQ(updated[0].properties, (QVariantMap{{"toggle-state", 1}}));
    EXPECT_TRUE(aboutToShow(0));
    EXPECT_TRUE(layoutUpdates.messages.isEmpty()); // nothing added or removed

    mask->setCheckable(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return propertyUpdates.messages.size() == 2; }, 2000));
    const auto removed =
        qdbus_cast<DBusMenuItemKeysList>(propertyUpdates.messages[1].arguments()[1]);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0].names, (QStringList{"toggle-state", "toggle-type"}));
}

TEST_F(DBusMenuExporterTest, OpeningsAndClosingsReachTheProgramOnceEach) {
    QStringList heard;
    QObject::connect(exporter.get(), &DBusMenuExporter::opened, [&] { heard << "opened"; });
    QObject::connect(exporter.get(), &DBusMenuExporter::closed, [&] { heard << "closed"; });

    // One opening as the MATE applet and GNOME's extension announce it.
    call(QStringLiteral("AboutToShowGroup"), {QVariant::fromValue(QList<int>{0})});
    aboutToShow(0);
    sendEvent(0, QStringLiteral("opened"));
    EXPECT_EQ(heard, QStringList{"opened"});

    sendEvent(0, QStringLiteral("closed"));
    sendEvent(0, QStringLiteral("closed"));
    EXPECT_EQ(heard, (QStringList{"opened", "closed"}));

    // Choosing an item closes the menu even when the panel never says so.
    aboutToShow(0);
    sendEvent(1, QStringLiteral("clicked"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.size() == 4; }, 2000));
    EXPECT_EQ(heard, (QStringList{"opened", "closed", "opened", "closed"}));

    // A later opening without a closing in between ends the one before.
    aboutToShow(0);
    QTest::qWait(400);
    aboutToShow(0);
    EXPECT_EQ(heard,
              (QStringList{"opened", "closed", "opened", "closed", "opened", "closed", "opened"}));
}

// Any program on the bus may call the menu: a call naming items over and over
// is answered with each item once, and does what it asks once.
TEST_F(DBusMenuExporterTest, ItemsNamedAgainAndAgainAreAnsweredOnce) {
    QSignalSpy settingsTriggered(settings, &QAction::triggered);
    QList<int> ids;
    QList<DBusMenuEvent> clicks;
    for (int time = 0; time < 20000; ++time) {
        ids << 2 << 99 << 1;
        clicks << DBusMenuEvent{2, QStringLiteral("clicked"), QDBusVariant(0), 0}
               << DBusMenuEvent{99, QStringLiteral("clicked"), QDBusVariant(0), 0};
    }
    const auto idsIn = [](const QVariant& argument) {
        return qdbus_cast<QList<int>>(argument);
    };
    QList<int> named;
    const QDBusMessage properties =
        call(QStringLiteral("GetGroupProperties"), {QVariant::fromValue(ids), QStringList()});
    for (const DBusMenuItem& item : qdbus_cast<DBusMenuItemList>(properties.arguments().value(0))) {
        named << item.id;
    }
    EXPECT_EQ(named, (QList<int>{2, 1}));
    const QDBusMessage shown = call(QStringLiteral("AboutToShowGroup"), {QVariant::fromValue(ids)});
    EXPECT_EQ(idsIn(shown.arguments().value(0)), (QList<int>{2, 1}));
    EXPECT_EQ(idsIn(shown.arguments().value(1)), QList<int>{99});
    const QDBusMessage events = call(QStringLiteral("EventGroup"), {QVariant::fromValue(clicks)});
    EXPECT_EQ(idsIn(events.arguments().value(0)), QList<int>{99});
    EXPECT_TRUE(QTest::qWaitFor([&] { return settingsTriggered.count() > 0; }, 2000));
    QApplication::processEvents();
    EXPECT_EQ(settingsTriggered.count(), 1);
}

} // namespace

int main(int argc, char** argv) {
    // Headless, with its own runtime and settings folders: nothing touches the desktop.
    TemporaryFolder folder;
    ScopedEnvironment platform("QT_QPA_PLATFORM", "offscreen");
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.path().string());
    ScopedEnvironment config("XDG_CONFIG_HOME", (folder / "config").string());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "DBusMenuExporterTests.moc"
