// SPDX-License-Identifier: GPL-3.0-or-later
// The real program on a private session bus, seen the way a panel sees it.

#include "PanelTestSupport.h"
#include "PipeWireSession.h"
#include "PlasmaWidget.h"

#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>

using namespace Qt::StringLiterals;

using namespace std::chrono_literals;
using namespace PanelTesting;

namespace {

TEST_F(PanelItemTest, RegistersWithItsFirstTitleAlreadyInPlace) {
    ASSERT_FALSE(clock.timeZone.isEmpty());
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    ASSERT_TRUE(watcher.ownsName());
    QProcess& program = launch();

    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    const Registration& registration = watcher.registrations.front();
    // By its service name, from its own connection.
    EXPECT_EQ(registration.service, itemService(program));
    EXPECT_EQ(registration.sender, connectionOf(program));
    EXPECT_EQ(registration.labelAtRegistration, QStringLiteral("$200.00"));

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
    // A panel's command prints the same, read from the running program.
    const CommandOutput printed = runCommand({QStringLiteral("--title")});
    EXPECT_EQ(printed.exitCode, 0) << printed.errors;
    EXPECT_EQ(printed.output, GetParam().label + std::string("\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Preferences, StoredLabelTest,
    ::testing::Values(StoredLabel{"WholePayAfterTheDay", "dailyPay=200\ncurrencySymbol=$\n",
                                  "$200.00"},
                      StoredLabel{"SwissFrancs", "dailyPay=12.3\ncurrencySymbol=CHF\n", "CHF12.30"},
                      StoredLabel{"Masked", "dailyPay=200\ncurrencySymbol=$\nmaskEarnings=true\n",
                                  "$\u2022\u2022\u2022.\u2022\u2022"}),
    [](const auto& info) { return std::string(info.param.name); });

// An interface's members as "method Name in:i in:i" lines, sorted: names, types
// and directions, without argument names, annotations or comments.
QStringList membersOf(const QString& introspection, const QString& interface) {
    QXmlStreamReader reader(introspection);
    QStringList members;
    bool inside = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::EndElement && reader.name() == u"interface") {
            inside = false;
        }
        if (reader.tokenType() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto attribute = [&reader](const char* name) {
            return reader.attributes().value(QLatin1String(name)).toString();
        };
        const auto kind = reader.name().toString();
        if (kind == u"interface") {
            inside = attribute("name") == interface;
        } else if (inside && (kind == u"method" || kind == u"signal")) {
            members << kind + u' ' + attribute("name");
        } else if (inside && kind == u"property") {
            members << kind + u' ' + attribute("name") + u' ' + attribute("type") + u' ' +
                           attribute("access");
        } else if (inside && kind == u"arg" && !members.isEmpty()) {
            QString direction = attribute("direction");
            if (members.last().startsWith(u"signal")) {
                direction.clear(); // a signal's arguments all go out
            } else if (direction.isEmpty()) {
                direction = u"in"_s;
            }
            members.last() += u' ' + direction + u':' + attribute("type");
        }
    }
    // Ins and outs each keep their order; how they interleave means nothing.
    for (QString& member : members) {
        QStringList words = member.split(u' ');
        std::stable_partition(words.begin() + 2, words.end(),
                              [](const QString& word) { return word.startsWith(u"in:"); });
        member = words.join(u' ');
    }
    members.sort();
    return members;
}

// The interfaces the program serves to panels and panel commands are the
// files beside the code that document them, member for member.
TEST_F(PanelItemTest, ServesItsInterfacesAsTheirFilesDescribeThem) {
    storePreferences("dailyPay=200\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    const struct {
        QString service, path, interface, file;
    } served[] = {
        {itemService(program), itemPath, itemInterface,
         u"platform/panel/org.kde.StatusNotifierItem.xml"_s},
        {itemService(program), u"/MenuBar"_s, u"com.canonical.dbusmenu"_s,
         u"platform/panel/com.canonical.dbusmenu.xml"_s},
        {u"org.tallyglow.Tallyglow"_s, u"/org/tallyglow/Tallyglow"_s, u"org.tallyglow.Tallyglow"_s,
         u"platform/instance/org.tallyglow.Tallyglow.xml"_s},
    };
    for (const auto& [service, path, interface, file] : served) {
        const QDBusReply<QString> introspection = host.call(QDBusMessage::createMethodCall(
            service, path, u"org.freedesktop.DBus.Introspectable"_s, u"Introspect"_s));
        ASSERT_TRUE(introspection.isValid()) << file.toStdString();
        QFile contract(QStringLiteral(SOURCE_FOLDER "/") + file);
        ASSERT_TRUE(contract.open(QIODevice::ReadOnly)) << file.toStdString();
        const QStringList documented = membersOf(QString::fromUtf8(contract.readAll()), interface);
        EXPECT_FALSE(documented.isEmpty()) << file.toStdString();
        EXPECT_EQ(membersOf(introspection.value(), interface).join(u'\n').toStdString(),
                  documented.join(u'\n').toStdString())
            << file.toStdString();
    }
}

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
        // The amount, however written; bus names may hold the same digits in a process id.
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("987[.,]\\d|\\$987"))))
            << text.toStdString();
        if (text.contains(u'$') || text.contains(QChar(0x2022))) {
            EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\d"))))
                << text.toStdString();
        }
    }
}

TEST_F(PanelItemTest, StartedDuringAScreenCastItNeverShowsTheAmount) {
    PipeWireSession session;
    session.startDaemon();
    session.startSource("testcast", "Video/Source");
    ASSERT_TRUE(session.waitForNode("testcast"));
    session.startReader("testcast");
    ASSERT_TRUE(session.waitForNode("testcast", "running"));
    runtimeFolder = session.runtimeFolder();

    storePreferences("dailyPay=318.77\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    // Every label of every start, from the first one each program announces.
    LabelRecorder recorder;
    ASSERT_TRUE(host.connect(QString(), itemPath, itemInterface, QStringLiteral("XAyatanaNewLabel"),
                             &recorder, SLOT(newLabel(QString, QString))));
    constexpr std::size_t starts = 5;
    for (std::size_t start = 1; start <= starts; ++start) {
        QProcess& program = launch();
        ASSERT_TRUE(waitForRegistrations(watcher, start));
        waitFor([] { return false; }, 600ms); // past the first tick
        stopProcess(program);
    }

    const QString masked = QStringLiteral("$\u2022\u2022\u2022.\u2022\u2022");
    for (const Registration& registration : watcher.registrations) {
        EXPECT_EQ(registration.labelAtRegistration.toStdString(), masked.toStdString());
    }
    EXPECT_GE(recorder.labels.size(), starts);
    for (const QString& label : recorder.labels) {
        EXPECT_EQ(label.toStdString(), masked.toStdString());
    }
}

TEST_F(PanelItemTest, LabelFollowsPayAsItAccrues) {
    // 1,200,000 over twenty minutes: a thousand a second, so every tick shows.
    storePreferences("dailyPay=1200000\ncurrencySymbol=$\n" + windowNow());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    LabelRecorder recorder;
    ASSERT_TRUE(recordLabels(program, recorder));

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
    ASSERT_TRUE(recordLabels(program, recorder));
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
    EXPECT_EQ(second.registrations.front().sender, connectionOf(*program));
    EXPECT_EQ(second.registrations.front().labelAtRegistration, QStringLiteral("$200.00"));
}

TEST_F(PanelItemTest, RegistersWithAPanelThatStartsLater) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess& program = launch();
    ASSERT_TRUE(waitFor([&] { return namesOnBus().contains(itemService(program)); }, 5s));
    waitFor([] { return false; }, 700ms); // past the program's own attempt to register

    TestWatcher watcher(bus, QStringLiteral("watcher"));
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_EQ(watcher.registrations.front().sender, connectionOf(program));
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(PanelItemTest, RegistersAgainWhenARunningPanelDropsTheItem) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    // Told of the drop, or only left out of the panel's list.
    for (const bool silently : {false, true}) {
        TestWatcher watcher(bus, QStringLiteral("watcher %1").arg(silently));
        watcher.dropsToMake = 1;
        watcher.dropsSilently = silently;
        QProcess& program = launch();
        ASSERT_TRUE(waitForRegistrations(watcher, 2)) << "silently: " << silently;
        EXPECT_EQ(watcher.registrations.front().service, itemService(program));
        // Offered by path once dropped, as GNOME's extension keeps it then.
        EXPECT_EQ(watcher.registrations.back().service, itemPath);
        EXPECT_EQ(watcher.registrations.back().sender, connectionOf(program));
        EXPECT_EQ(watcher.registrations.back().labelAtRegistration, QStringLiteral("$200.00"));
        // Once listed, the item stays put.
        waitFor([] { return false; }, 2s);
        EXPECT_EQ(watcher.registrations.size(), 2u) << "silently: " << silently;
        stopProcess(program);
    }
}

TEST_F(PanelItemTest, APanelThatKeepsDroppingTheItemGetsFewerAndFewerRegistrations) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    {
        TestWatcher watcher(bus, QStringLiteral("watcher"));
        watcher.dropsToMake = -1;
        launch();
        ASSERT_TRUE(waitForRegistrations(watcher, 1));
        waitFor([] { return false; }, 8s);
        // Retried a second after the first drop, then ever later: once a second would be 9.
        EXPECT_GE(watcher.registrations.size(), 3u);
        EXPECT_LE(watcher.registrations.size(), 5u);
    }
    // A new panel starts afresh: its one drop is retried after a second again.
    TestWatcher next(bus, QStringLiteral("next watcher"));
    ASSERT_TRUE(next.ownsName());
    next.dropsToMake = 1;
    EXPECT_TRUE(waitFor([&] { return next.registrations.size() >= 2; }, 3s));
}

// Cinnamon's panel draws the label of XApp status icons, not of notifier items:
// while an XApp applet watches (libxapp's own monitor here), started before the
// program or after it, the item is such an icon and no notifier item, which
// comes back once the applet has gone.
TEST_F(PanelItemTest, IsAnXAppIconWhileAnXAppAppletWatches) {
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    TestNotifications notifications(bus);
    for (const bool appletFirst : {true, false}) {
        SCOPED_TRACE(appletFirst ? "applet first" : "program first");
        storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
        QProcess applet;
        applet.setProcessEnvironment(programEnvironment(true, {}));
        const auto startApplet = [&] {
            applet.start(QStringLiteral(XAPP_APPLET), {});
            const QString monitors = QStringLiteral("org.x.StatusIconMonitor.");
            return waitFor([&] { return !namesOnBus().filter(monitors).isEmpty(); }, 5s);
        };
        if (appletFirst) {
            ASSERT_TRUE(startApplet());
        }
        QProcess& program = launch();
        if (!appletFirst) {
            ASSERT_TRUE(waitForRegistrations(watcher, programs.size()));
            ASSERT_TRUE(startApplet());
        }
        std::string seen;
        const auto sees = [&](const std::string& lines) {
            return waitFor(
                [&] {
                    seen += applet.readAllStandardOutput().toStdString();
                    return seen.find(lines) != std::string::npos;
                },
                5s);
        };
        ASSERT_TRUE(sees("added $200.00\nicon ")) << seen;
        const std::string icon = seen.substr(seen.find("icon ") + 5);
        EXPECT_TRUE(std::filesystem::exists(icon.substr(0, icon.find('\n')))) << icon;
        EXPECT_FALSE(namesOnBus().contains(itemService(program)));

        const auto click = [&](uint button) {
            for (const char* method : {"ButtonPress", "ButtonRelease"}) {
                QDBusMessage call = QDBusMessage::createMethodCall(
                    QStringLiteral("org.x.StatusIcon.tallyglow-%1").arg(program.processId()),
                    QStringLiteral("/org/x/StatusIcon/Icon"), QStringLiteral("org.x.StatusIcon"),
                    QString::fromLatin1(method));
                call.setArguments({200, 700, button, 0u, 3});
                EXPECT_EQ(host.call(call, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);
            }
        };
        click(2); // middle: masks, once for the press and the release
        EXPECT_TRUE(sees("label $\u2022\u2022\u2022.\u2022\u2022\n"));
        waitFor([] { return false; }, 600ms);
        EXPECT_EQ(seen.find("label $200.00"), std::string::npos) << seen;
        click(1); // left: the menu
        EXPECT_TRUE(sees("menu True\n")) << seen;
        // Shown from the start: no notice says that no panel shows it.
        EXPECT_FALSE(waitFor([&] { return !notifications.notices.empty(); }, 11s))
            << notifications.notices.front().summary.toStdString();

        EXPECT_EQ(watcher.registrations.size(), programs.size() - appletFirst);
        stopProcess(applet);
        EXPECT_TRUE(waitForRegistrations(watcher, programs.size() + !appletFirst));
        EXPECT_TRUE(namesOnBus().contains(itemService(program)));
        EXPECT_TRUE(namesOnBus().filter(QStringLiteral("org.x.StatusIcon")).isEmpty());
        stopProcess(program);
    }
}

// How long a panel is there, and what the user is told. The times count from launch.
struct PanelSpell {
    const char* name;
    const char* desktop;
    std::chrono::milliseconds watcherComes; // negative: never
    std::chrono::milliseconds watcherLeaves;
    std::size_t notices;
    // The notice is taken back once a panel shows the item.
    bool withdrawn;
    // The notice offers to switch GNOME's extension on, installed under this name, and
    // does so; nullptr: no such offer.
    const char* enables;
    // With none installed, it offers to have the shell fetch it, which replies so
    // ("": fails, told in one more notice); nullptr: no such offer.
    const char* fetchReply = nullptr;
    // How the watcher takes the item: at once, only after being busy (as at
    // login, longer than the program waits for an answer), or without ever listing it.
    enum class Watcher { listsAtOnce, busyAtFirst, neverLists } watcher = Watcher::listsAtOnce;
};

// Each program on a bus of its own, side by side, so that the ten seconds pass once.
TEST_F(PanelItemTest, OnlyAfterTenSecondsWithNoPanelOneNoticeSaysWhatWouldShowTheItem) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    const PanelSpell spells[] = {
        {"NoPanel", "", -1ms, -1ms, 1, false, nullptr},
        {"PanelInTime", "", 4s, -1ms, 0, false, nullptr},
        {"PanelLeaves", "", 0ms, 2s, 1, false, nullptr},
        {"PanelAfterTheNotice", "", 14s, -1ms, 1, true, nullptr},
        {"GnomeWithTheExtensionOff", "GNOME", -1ms, -1ms, 1, false,
         "appindicatorsupport@rgcjonas.gmail.com"},
        {"GnomeWithDebiansExtensionOff", "GNOME", -1ms, -1ms, 1, false,
         "ubuntu-appindicators@ubuntu.com"},
        {"GnomeFetchesTheExtension", "GNOME", -1ms, -1ms, 1, false, nullptr, "successful"},
        {"GnomeFetchDeclined", "GNOME", -1ms, -1ms, 1, false, nullptr, "cancelled"},
        {"GnomeFetchFails", "GNOME", -1ms, -1ms, 1, false, nullptr, ""},
        {"PanelBusyAtLogin", "", 0ms, -1ms, 1, true, nullptr, nullptr,
         PanelSpell::Watcher::busyAtFirst},
        {"PanelNeverListsTheItem", "", 0ms, -1ms, 1, false, nullptr, nullptr,
         PanelSpell::Watcher::neverLists},
    };
    struct Session {
        const PanelSpell& spell;
        std::unique_ptr<PrivateSessionBus> bus;
        std::unique_ptr<TestNotifications> notifications;
        std::unique_ptr<TestShell> shell;
        std::unique_ptr<TestWatcher> watcher;
    };
    std::vector<Session> sessions;
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();
    for (const PanelSpell& spell : spells) {
        const auto busFolder = folder / spell.name;
        std::filesystem::create_directories(busFolder);
        auto bus = std::make_unique<PrivateSessionBus>(busFolder);
        auto notifications = std::make_unique<TestNotifications>(*bus);
        auto shell = std::make_unique<TestShell>(*bus, QString::fromLatin1(spell.enables),
                                                 QString::fromLatin1(spell.fetchReply));
        auto& session = sessions.emplace_back(
            Session{spell, std::move(bus), std::move(notifications), std::move(shell), nullptr});
        extraEnvironment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), session.bus->address());
        extraEnvironment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"),
                                QString::fromLatin1(spell.desktop));
        launch();
    }
    waitFor(
        [&] {
            const std::chrono::milliseconds now{sinceLaunch.elapsed()};
            for (Session& session : sessions) {
                const PanelSpell& spell = session.spell;
                if (!session.watcher && spell.watcherComes >= 0ms && now >= spell.watcherComes &&
                    (spell.watcherLeaves < 0ms || now < spell.watcherLeaves)) {
                    session.watcher =
                        std::make_unique<TestWatcher>(*session.bus, QStringLiteral("watcher"));
                    session.watcher->listsItems = spell.watcher != PanelSpell::Watcher::neverLists;
                    if (spell.watcher == PanelSpell::Watcher::busyAtFirst) {
                        session.watcher->answerNothingFor(12s);
                    }
                }
                if (spell.watcherLeaves >= 0ms && now >= spell.watcherLeaves) {
                    session.watcher.reset();
                }
            }
            return now >= 17s;
        },
        25s);

    for (Session& session : sessions) {
        const PanelSpell& spell = session.spell;
        SCOPED_TRACE(spell.name);
        ASSERT_EQ(session.notifications->notices.size(), spell.notices);
        if (spell.notices == 0) {
            continue;
        }
        const TestNotifications::Notice& notice = session.notifications->notices.front();
        EXPECT_FALSE(notice.summary.isEmpty());
        EXPECT_EQ(session.notifications->closed,
                  spell.withdrawn ? std::vector<uint>{notice.id} : std::vector<uint>{});
        // A button is offered as a key and a label: it switches on the copy that is
        // there, or has the shell fetch one, never both; a failed fetch is told once.
        const bool offersButton = spell.enables || spell.fetchReply;
        EXPECT_EQ(notice.actions.size(), offersButton ? 2 : 0);
        if (offersButton) {
            session.notifications->choose(notice.id, notice.actions.front());
            const auto& asked = spell.enables ? session.shell->enabled : session.shell->fetched;
            EXPECT_TRUE(waitFor([&] { return !asked.empty(); }, 5s));
            const char* uuid =
                spell.enables ? spell.enables : "appindicatorsupport@rgcjonas.gmail.com";
            EXPECT_EQ(asked, std::vector<QString>{QString::fromLatin1(uuid)});
            EXPECT_EQ(session.shell->enabled.size() + session.shell->fetched.size(), 1u);
            const std::size_t told = spell.fetchReply && !*spell.fetchReply ? 2 : 1;
            waitFor([&] { return session.notifications->notices.size() > 1; }, told * 1s);
            EXPECT_EQ(session.notifications->notices.size(), told);
        }
    }
}

// The settings window's "Show the figure in the panel" has Plasma's shell add the
// widget: done, refused while widgets are locked (by the user, or for good), a
// failure with the shell's reason, and no shell at all.
TEST_F(PanelItemTest, PlasmasShellAddsTheWidgetOrSaysWhyNot) {
    using Placement = PlasmaWidget::Placement;
    const struct {
        const char *name, *printed, *error;
        Placement placement;
        const char* reason;
    } replies[] = {
        {"Added", "inPanel", "", Placement::inPanel, ""},
        {"LockedByTheUser", "locked", "", Placement::locked, ""},
        {"LockedForGood", "", "Widgets are locked", Placement::locked, ""},
        {"ScriptFails", "", "TypeError: x", Placement::failed, "TypeError: x"},
        {"NoPanel", "no panel", "", Placement::failed, "no panel"},
        {"NoShell", nullptr, "", Placement::noShell, ""},
    };
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.name);
        std::filesystem::create_directories(folder / reply.name);
        PrivateSessionBus bus(folder / reply.name);
        std::optional<TestPlasmaShell> shell;
        if (reply.printed) {
            shell.emplace(bus, QString::fromUtf8(reply.printed), QString::fromUtf8(reply.error));
        }
        std::optional<std::pair<Placement, QString>> answer;
        const PlasmaWidget widget(bus.connect(QStringLiteral("settings")));
        widget.addToPanel(
            [&](Placement placement, const QString& why) { answer.emplace(placement, why); });
        ASSERT_TRUE(waitFor([&] { return answer.has_value(); }, 5s));
        EXPECT_EQ(*answer, std::make_pair(reply.placement, QString::fromUtf8(reply.reason)));
        EXPECT_EQ(shell ? shell->scripts : 1, 1);
    }
}

// A second start asks the first to open its settings and goes; one that cannot
// reach it (another program holds the name, or the first is stopped) says so
// in one line and fails.
TEST_F(PanelItemTest, SecondLaunchLeavesTheFirstAlone) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    enum class First { answers, otherProgram, stopped };
    for (const First first : {First::answers, First::otherProgram, First::stopped}) {
        SCOPED_TRACE(int(first));
        QDBusConnection holder = bus.connect(QStringLiteral("holder %1").arg(int(first)));
        QProcess* running = nullptr;
        if (first == First::otherProgram) {
            ASSERT_TRUE(holder.registerService(QStringLiteral("org.tallyglow.Tallyglow")));
        } else {
            running = &launch();
            ASSERT_TRUE(waitForRegistrations(watcher, programs.size()));
        }
        if (first == First::stopped) {
            ::kill(running->processId(), SIGSTOP);
        }

        QProcess second;
        second.setProcessEnvironment(programEnvironment(true, {}));
        second.start(programFile, {});
        ASSERT_TRUE(second.waitForFinished(10000));
        const std::string errors = second.readAllStandardError().toStdString();
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), first == First::answers ? 0 : 1);
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), first == First::answers ? 0 : 1)
            << errors;
        waitFor([] { return false; }, 300ms);
        // Nothing of the second stays on the bus.
        EXPECT_EQ(watcher.registrations.size(), programs.size());
        EXPECT_EQ(namesOnBus().filter(QStringLiteral("org.kde.StatusNotifierItem-")),
                  running ? QStringList{itemService(*running)} : QStringList{});
        if (running) {
            ::kill(running->processId(), SIGCONT);
            EXPECT_EQ(running->state(), QProcess::Running);
            stopProcess(*running);
        }
        PrivateSessionBus::disconnect(holder);
    }
}

TEST_F(PanelItemTest, KeepsRunningWithoutASessionBus) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess& program = launch(/*withSessionBus=*/false);
    EXPECT_FALSE(program.waitForFinished(2500));
    EXPECT_EQ(program.state(), QProcess::Running);
}

// The command line: options that print and end need neither a desktop nor
// settings; with no Tallyglow on the bus --title fails.
struct Invocation {
    const char* name;
    QStringList arguments;
    bool withSessionBus;
    int exitCode;
    const char* output; // nullptr: anything but nothing
};

void PrintTo(const Invocation& invocation, std::ostream* stream) {
    *stream << invocation.name;
}

class InvocationTest : public PanelItemTest, public ::testing::WithParamInterface<Invocation> {};

TEST_P(InvocationTest, EndsAtOnceWithItsStatusTouchingNoSettings) {
    const CommandOutput result = runCommand(GetParam().arguments, GetParam().withSessionBus);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.errors;
    if (GetParam().output) {
        EXPECT_EQ(result.output, GetParam().output);
    } else {
        EXPECT_FALSE(result.output.empty());
    }
    // Failures say why in one line; success says nothing there.
    EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'),
              GetParam().exitCode == 0 ? 0 : 1)
        << result.errors;
    EXPECT_FALSE(std::filesystem::exists(folder / "config")) << "settings touched";
    EXPECT_TRUE(namesOnBus().filter(QStringLiteral("tallyglow"), Qt::CaseInsensitive).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, InvocationTest,
    ::testing::Values(
        Invocation{"Help", {"--help"}, false, 0, nullptr},
        Invocation{"Version", {"--version"}, false, 0, "tallyglow " PROJECT_VERSION "\n"},
        Invocation{"UnknownOption", {"--frobnicate"}, false, 2, ""},
        Invocation{"Argument", {"settings"}, false, 2, ""},
        Invocation{"UnknownFormat", {"--title", "--format", "xml"}, true, 2, ""},
        Invocation{"FollowWithoutTitle", {"--follow"}, true, 2, ""},
        Invocation{"TitleWithNoTallyglow", {"--title"}, true, 1, ""},
        Invocation{"GenmonTitleWithNoTallyglow",
                   {"--title", "--format", "genmon"},
                   true,
                   1,
                   "<txt></txt><tool>Tallyglow is not running</tool>\n"},
        Invocation{"LxqtTitleWithNoTallyglow", {"--title", "--format", "lxqt"}, true, 0, "\n"},
        Invocation{"TitleWithNoSessionBus", {"--title", "--follow"}, false, 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelItemTest, TitleFormatsSayWhetherTheAmountIsHidden) {
    storePreferences("dailyPay=200\ncurrencySymbol=<$>\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    const auto printed = [&](const char* format) {
        return runCommand({"--title", "--format", format}).output;
    };
    EXPECT_EQ(printed("waybar"),
              R"({"text":"&lt;$&gt;200.00","tooltip":"Earned today","class":"shown"})"
              "\n");
    EXPECT_EQ(printed("genmon"), "<txt>&lt;$&gt;200.00</txt><tool>Earned today</tool>\n");
    EXPECT_EQ(printed("lxqt"), "<$>200.00\n");
    callItem(program, QStringLiteral("SecondaryActivate"), {0, 0}); // a middle click masks
    ASSERT_TRUE(waitFor([&] { return runCommand({"--title"}).output != "<$>200.00\n"; }, 5s));
    EXPECT_EQ(printed("waybar"),
              "{\"text\":\"&lt;$&gt;\u2022\u2022\u2022.\u2022\u2022\",\"tooltip\":"
              "\"Earned today: hidden\",\"class\":\"masked\"}\n");
    EXPECT_EQ(printed("genmon"), "<txt>&lt;$&gt;\u2022\u2022\u2022.\u2022\u2022</txt>"
                                 "<tool>Earned today: hidden</tool>\n");
}

TEST_F(PanelItemTest, FollowedTitleComesGoesAndMasksAsTheProgramDoes) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess follower;
    follower.setProcessEnvironment(commandEnvironment(true));
    follower.start(programFile, {"--title", "--follow"});
    std::string lines;
    const auto printedLines = [&](const std::string& expected) {
        return waitFor(
            [&] { return (lines += follower.readAllStandardOutput().toStdString()) == expected; },
            5s);
    };
    EXPECT_TRUE(printedLines("\n")); // no Tallyglow yet
    QProcess& program = launch();
    EXPECT_TRUE(printedLines("\n$200.00\n"));
    callItem(program, QStringLiteral("SecondaryActivate"), {0, 0});
    EXPECT_TRUE(printedLines("\n$200.00\n$\u2022\u2022\u2022.\u2022\u2022\n"));
    stopProcess(program);
    EXPECT_TRUE(printedLines("\n$200.00\n$\u2022\u2022\u2022.\u2022\u2022\n\n")) << lines;
    stopProcess(follower);
}

// Plasma's widget cannot hear signals: it asks for the next title, which comes
// when the title changes (here by a middle click), and at once for a caller
// whose title is already out of date.
TEST_F(PanelItemTest, NextTitleAnswersWhenTheTitleChanges) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    const auto askNextTitle = [&](const QString& title, bool masked) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.tallyglow.Tallyglow"), QStringLiteral("/org/tallyglow/Tallyglow"),
            QStringLiteral("org.tallyglow.Tallyglow"), QStringLiteral("NextTitle"));
        call << title << masked;
        return host.asyncCall(call, 10000);
    };
    const QString hidden = QStringLiteral("$\u2022\u2022\u2022.\u2022\u2022");

    const QDBusPendingCall stale = askNextTitle(QStringLiteral("$0.00"), false);
    ASSERT_TRUE(waitFor([&] { return stale.isFinished(); }, 5s));
    EXPECT_EQ(stale.reply().arguments(), (QVariantList{QStringLiteral("$200.00"), false}));

    const QDBusPendingCall current = askNextTitle(QStringLiteral("$200.00"), false);
    EXPECT_FALSE(waitFor([&] { return current.isFinished(); }, 1s));
    callItem(program, QStringLiteral("SecondaryActivate"), {0, 0});
    ASSERT_TRUE(waitFor([&] { return current.isFinished(); }, 5s));
    EXPECT_EQ(current.reply().arguments(), (QVariantList{hidden, true}));
}

// Installs the build into the folder as `DESTDIR=folder cmake --install` does,
// under the given prefix; answers the prefix's folder inside it.
std::filesystem::path stageInstall(const std::filesystem::path& folder, const QString& prefix) {
    QProcess install;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DESTDIR"), QString::fromStdString(folder));
    install.setProcessEnvironment(environment);
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(BUILD_FOLDER),
                   QStringLiteral("--prefix"), prefix});
    EXPECT_TRUE(install.waitForFinished(30000));
    EXPECT_EQ(install.exitCode(), 0);
    return folder / prefix.mid(1).toStdString();
}

std::set<std::string> filesUnder(const std::filesystem::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) {
            files.insert(entry.path().lexically_relative(folder).string());
        }
    }
    return files;
}

TEST_F(PanelItemTest, InstallsTheProgramItsPluginIconAndDesktopFiles) {
    const std::filesystem::path stage = folder / "stage";
    // A strict umask must not make any of it private to root.
    const mode_t umask = ::umask(077);
    stageInstall(stage, QStringLiteral(INSTALL_PREFIX));
    ::umask(umask);
    const std::string prefix = std::string(INSTALL_PREFIX).substr(1) + "/";
    const std::string id = APPLICATION_ID;
    std::set<std::string> expected{
        prefix + BINARY_FOLDER "/tallyglow",
        prefix + PLUGIN_FOLDER "/tallyglow-panel-item.so",
        prefix + PLUGIN_FOLDER "/tallyglow-command-line.so",
        prefix + PLUGIN_FOLDER "/tallyglow-screen-cast.so",
        prefix + ICON_FOLDER "/tallyglow.svg",
        prefix + ICON_FOLDER "/symbolic/tallyglow-symbolic.svg",
        prefix + DATA_FOLDER "/icons/hicolor/scalable/apps/" + id + ".svg",
        prefix + DATA_FOLDER "/applications/" + id + ".desktop",
        prefix + DATA_FOLDER "/metainfo/" + id + ".metainfo.xml",
        prefix + DATA_FOLDER "/dbus-1/interfaces/org.tallyglow.Tallyglow.xml",
        prefix + MANUAL_FOLDER "/man1/tallyglow.1",
        std::string(AUTOSTART_FOLDER).substr(1) + "/" + id + ".desktop",
        prefix + PLASMOID_FOLDER "/metadata.json",
        prefix + PLASMOID_FOLDER "/contents/ui/main.qml",
        prefix + PLASMOID5_FOLDER "/metadata.json",
        prefix + PLASMOID5_FOLDER "/contents/ui/main.qml",
    };
    for (const char* language : {"de", "es", "fr", "it", "ja", "nl", "pl", "pt_BR"}) {
        expected.insert(prefix + PLASMOID_FOLDER "/contents/locale/" + language +
                        "/LC_MESSAGES/plasma_applet_" + id + ".panel.mo");
        expected.insert(prefix + PLASMOID5_FOLDER "/contents/locale/" + language +
                        "/LC_MESSAGES/plasma_applet_" + id + ".panel.plasma5.mo");
    }
    EXPECT_EQ(filesUnder(stage), expected);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(stage)) {
        const bool runs = entry.is_directory() || entry.path().filename() == "tallyglow" ||
                          entry.path().extension() == ".so";
        struct stat status {};
        ::stat(entry.path().c_str(), &status);
        EXPECT_EQ(status.st_mode & 0777, runs ? 0755u : 0644u) << entry.path();
    }

    // Menus and the session start the installed program, wherever PATH points.
    for (const std::string& entry :
         {prefix + DATA_FOLDER "/applications/" + id + ".desktop",
          std::string(AUTOSTART_FOLDER).substr(1) + "/" + id + ".desktop"}) {
        EXPECT_NE(readWholeFile(stage / entry)
                      .find("\nExec=" INSTALL_PREFIX "/" BINARY_FOLDER "/tallyglow\n"),
                  std::string::npos)
            << entry;
    }
}

// Where the program runs from; an empty prefix is the build folder. The
// desktop decides between the coloured and the one-colour icon.
struct Installation {
    const char* name;
    const char* prefix;
    const char* desktop;
};

void PrintTo(const Installation& installation, std::ostream* stream) {
    *stream << installation.name;
}

class InstalledProgramTest : public PanelItemTest,
                             public ::testing::WithParamInterface<Installation> {};

// The program finds its plug-in and its icon from its own folder, so a staged
// installation, or one under another prefix than it was built for, runs as
// the real one.
TEST_P(InstalledProgramTest, ShowsItsLabelWithItsOwnPluginAndIcon) {
    std::filesystem::path plugin = std::filesystem::path(BUILD_FOLDER) / "tallyglow-screen-cast.so";
    std::filesystem::path icons = std::filesystem::path(BUILD_FOLDER) / "icons";
    if (*GetParam().prefix) {
        const std::filesystem::path root =
            stageInstall(folder / "stage", QString::fromUtf8(GetParam().prefix));
        programFile = QString::fromStdString(root / BINARY_FOLDER / "tallyglow");
        plugin = root / PLUGIN_FOLDER / "tallyglow-screen-cast.so";
        icons = root / ICON_FOLDER;
    }
    ASSERT_TRUE(std::filesystem::exists(programFile.toStdString()));
    // Masking while the screen is cast is on by default, so the first title loads the
    // plug-in, once a PipeWire daemon's socket is there.
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    writeWholeFile(runtimeFolder / "pipewire-0", "");
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", GetParam().desktop);
    QProcess& program = launch();
    qputenv("XDG_CURRENT_DESKTOP", desktop);

    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_EQ(watcher.registrations.front().labelAtRegistration, QStringLiteral("$200.00"));
    const std::filesystem::path iconFolder =
        itemProperties(program).value("IconThemePath").toString().toStdString();
    EXPECT_TRUE(iconFolder == std::filesystem::canonical(icons) ||
                iconFolder == std::filesystem::canonical(icons / "symbolic"))
        << iconFolder;
    // The icon named is the only one there: a watcher may take another it finds beside it.
    const std::string iconFile =
        itemProperties(program).value("IconName").toString().toStdString() + ".svg";
    std::set<std::string> iconsThere;
    for (const auto& entry : std::filesystem::directory_iterator(iconFolder)) {
        if (entry.path().extension() == ".svg") {
            iconsThere.insert(entry.path().filename().string());
        }
    }
    EXPECT_EQ(iconsThere, std::set<std::string>{iconFile});

    const std::string maps = "/proc/" + std::to_string(program.processId()) + "/maps";
    const std::string loaded = std::filesystem::canonical(plugin).string();
    EXPECT_TRUE(waitFor([&] { return readWholeFile(maps).find(loaded) != std::string::npos; }, 5s))
        << loaded;
}

INSTANTIATE_TEST_SUITE_P(Installations, InstalledProgramTest,
                         ::testing::Values(Installation{"BuildFolder", "", "KDE"},
                                           Installation{"StagedInstall", INSTALL_PREFIX,
                                                        "ubuntu:GNOME"},
                                           Installation{"OtherPrefix", "/opt/tallyglow", "XFCE"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
