// SPDX-License-Identifier: GPL-3.0-or-later
// Clicks, the menu and the settings window of the real program, as panels and
// users reach them: over a private session bus, and in a real X server.

#include "DBusMenuExporter.h"
#include "PanelTestSupport.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace std::chrono_literals;
using namespace PanelTesting;

namespace {

const QString masked = QStringLiteral("$\u2022\u2022\u2022.\u2022\u2022");
const QString unmasked = QStringLiteral("$200.00");

class PanelMenuTest : public PanelItemTest {
protected:
    void SetUp() override { registerDBusMenuTypes(); }

    // A panel's click event on one item of the menu, or on the menu itself (0).
    void sendMenuEvent(const QProcess& program, int id, const QString& eventId) {
        callMenu(program, QStringLiteral("Event"),
                 {id, eventId, QVariant::fromValue(QDBusVariant(0)), 0u});
    }
    int toggleState(const QProcess& program) {
        const QDBusMessage reply =
            callMenu(program, QStringLiteral("GetProperty"), {1, QStringLiteral("toggle-state")});
        return reply.arguments().value(0).value<QDBusVariant>().variant().toInt();
    }
    bool labelBecomes(const QProcess& program, const QString& expected,
                      std::chrono::milliseconds within) {
        return waitFor([&] { return label(program) == expected; }, within);
    }
};

TEST_F(PanelMenuTest, PanelsReadTheFourItemsInOrder) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_EQ(itemProperties(program).value("Menu").value<QDBusObjectPath>().path(), "/MenuBar");

    const QDBusMessage reply =
        callMenu(program, QStringLiteral("GetLayout"), {0, -1, QStringList()});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    DBusMenuLayoutItem root;
    reply.arguments().value(1).value<QDBusArgument>() >> root;
    ASSERT_EQ(root.children.size(), 4);
    const auto& items = root.children;
    EXPECT_EQ(items[0].properties.value("label").toString(), "Mask");
    EXPECT_EQ(items[0].properties.value("toggle-type").toString(), "checkmark");
    EXPECT_EQ(items[1].properties.value("label").toString(), QString::fromUtf8("Settings\u2026"));
    EXPECT_FALSE(items[1].properties.contains("toggle-type"));
    EXPECT_EQ(items[2].properties.value("type").toString(), "separator");
    EXPECT_EQ(items[3].properties.value("label").toString(), "Quit Tallyglow");
    const auto shortcut = qdbus_cast<DBusMenuShortcut>(items[3].properties.value("shortcut"));
    EXPECT_EQ(shortcut, (DBusMenuShortcut{{QStringLiteral("Control"), QStringLiteral("q")}}));
}

TEST_F(PanelMenuTest, TheCheckMarkFollowsMaskingAtEachOpeningAndMaskActsAtOnce) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\nmaskEarnings=true\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    ASSERT_EQ(label(program), masked);

    callMenu(program, QStringLiteral("AboutToShow"), {0});
    EXPECT_EQ(toggleState(program), 1);
    sendMenuEvent(program, 1, QStringLiteral("clicked"));
    // At once: well inside one half-second tick.
    EXPECT_TRUE(labelBecomes(program, unmasked, 200ms)) << label(program).toStdString();

    callMenu(program, QStringLiteral("AboutToShow"), {0});
    EXPECT_EQ(toggleState(program), 0);
    sendMenuEvent(program, 0, QStringLiteral("closed"));
    stopProcess(program);
    EXPECT_NE(readWholeFile(folder / "config" / "tallyglow" / "tallyglow.conf")
                  .find("maskEarnings=false"),
              std::string::npos);
}

TEST_F(PanelMenuTest, AMiddleClickFlipsTheMaskingOnceEvenWhenAPanelReportsItTwice) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));

    // GNOME reports one middle click with both of these.
    callItem(program, QStringLiteral("XAyatanaSecondaryActivate"), {0u});
    callItem(program, QStringLiteral("SecondaryActivate"), {0, 0});
    EXPECT_EQ(label(program), masked);
    waitFor([] { return false; }, 1100ms);
    callItem(program, QStringLiteral("SecondaryActivate"), {0, 0});
    EXPECT_EQ(label(program), unmasked);
}

TEST_F(PanelMenuTest, QuitEndsTheProgramCleanly) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch();
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    sendMenuEvent(program, 4, QStringLiteral("clicked"));
    ASSERT_TRUE(program.waitForFinished(3000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// The session's ways to end the program end it as Quit does: a change still
// waiting to be saved (the folder was briefly not writable) is written.
TEST_F(PanelMenuTest, TheSessionEndingTheProgramSavesAsQuitDoes) {
    const std::filesystem::path config = folder / "config" / "tallyglow";
    for (const int ending : {SIGTERM, SIGINT, SIGHUP, 0}) {
        SCOPED_TRACE(ending ? strsignal(ending) : "the session bus goes away");
        storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
        TestWatcher watcher(bus, QStringLiteral("watcher"));
        QProcess& program = launch();
        ASSERT_TRUE(waitForRegistrations(watcher, 1));
        std::filesystem::rename(config, folder / "away");
        writeWholeFile(config, "a file where the folder should be");
        callItem(program, QStringLiteral("SecondaryActivate"), {0, 0});
        waitFor([] { return false; }, 100ms);
        std::filesystem::remove(config);
        std::filesystem::rename(folder / "away", config);
        if (ending) {
            ::kill(static_cast<pid_t>(program.processId()), ending);
        } else {
            bus.stop();
        }
        ASSERT_TRUE(program.waitForFinished(1000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_NE(readWholeFile(config / "tallyglow.conf").find("maskEarnings=true"),
                  std::string::npos);
    }
}

// A real X server, where the program reads the keys held during a click.
class ProgramInXServer : public PanelMenuTest {
protected:
    void SetUp() override {
        PanelMenuTest::SetUp();
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1024x768x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        ASSERT_TRUE(server.waitForReadyRead(10000)) << "Xvfb did not start";
        display = u':' + QString::fromUtf8(server.readLine()).trimmed();
    }
    void TearDown() override {
        for (auto& client : clients) {
            stopProcess(*client);
        }
        stopProcess(server);
    }

    // Another program on the X server, running until the test ends.
    QProcess& startClient(const QString& name, const QStringList& arguments) {
        auto& client = *clients.emplace_back(std::make_unique<QProcess>());
        client.setProcessEnvironment(displayEnvironment());
        client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        client.start(name, arguments);
        client.waitForStarted(5000);
        return client;
    }
    // The test's X server, and a home of the test's own for what runs on it.
    QProcessEnvironment displayEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder / "home"));
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
            environment.remove(QString::fromLatin1(name));
        }
        return environment;
    }

    QString xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.setProcessEnvironment(displayEnvironment());
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    QStringList visibleWindows(const QProcess& program) {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--pid"), QString::number(program.processId())})
            .split(u'\n', Qt::SkipEmptyParts);
    }
    QStringList settingsWindows() {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QStringLiteral("^Tallyglow Settings$")})
            .split(u'\n', Qt::SkipEmptyParts);
    }

    // The program's windows inside another program's: icons docked in a tray.
    QStringList dockedIcons(const QProcess& program) {
        QStringList docked;
        for (const QString& window : xdotool({QStringLiteral("search"), QStringLiteral("--pid"),
                                              QString::number(program.processId())})
                                         .split(u'\n', Qt::SkipEmptyParts)) {
            QProcess tree;
            tree.setProcessEnvironment(displayEnvironment());
            tree.start(QStringLiteral("xwininfo"),
                       {QStringLiteral("-tree"), QStringLiteral("-id"), window});
            tree.waitForFinished(5000);
            const QRegularExpressionMatch parent =
                QRegularExpression(QStringLiteral("Parent window id: ([^\\n]*)"))
                    .match(QString::fromUtf8(tree.readAllStandardOutput()));
            if (parent.hasMatch() && !parent.captured(1).contains(QStringLiteral("root window"))) {
                docked.append(window);
            }
        }
        return docked;
    }

    QProcess server;
    QString display;
    std::vector<std::unique_ptr<QProcess>> clients;
};

TEST_F(ProgramInXServer, ShiftOrAltFlipTheMaskingOtherClicksShowTheMenu) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));

    // A key is held through the panel's call, or released some time before
    // it: GNOME's extension tells of a click only after the double-click time
    // (400 ms here), when the key held for it is often up again.
    constexpr auto heldThroughTheCall = std::chrono::milliseconds(-1);
    const struct {
        const char* key;
        std::chrono::milliseconds releasedBefore;
        bool flips;
    } clicks[] = {{"shift", heldThroughTheCall, true},
                  {"alt", heldThroughTheCall, true},
                  {"ctrl", heldThroughTheCall, false},
                  {nullptr, heldThroughTheCall, false},
                  {"shift", 150ms, true},
                  {"alt", 150ms, true},
                  {"shift", 1500ms, false}};
    for (const auto& click : clicks) {
        const QString key =
            QString::fromLatin1(click.key ? click.key : "none") +
            QStringLiteral(", released %1 ms before").arg(click.releasedBefore.count());
        const QString before = label(program);
        if (click.key) {
            xdotool({QStringLiteral("keydown"), QString::fromLatin1(click.key)});
        }
        if (click.key && click.releasedBefore != heldThroughTheCall) {
            xdotool({QStringLiteral("keyup"), QString::fromLatin1(click.key)});
            std::this_thread::sleep_for(click.releasedBefore);
        }
        // As MATE's notification area does: the panel's corner, not the click.
        xdotool({QStringLiteral("mousemove"), QStringLiteral("600"), QStringLiteral("20")});
        callItem(program, QStringLiteral("Activate"), {0, 28});
        if (click.key && click.releasedBefore == heldThroughTheCall) {
            xdotool({QStringLiteral("keyup"), QString::fromLatin1(click.key)});
        }
        const bool menuShown = waitFor([&] { return !visibleWindows(program).isEmpty(); }, 700ms);
        EXPECT_EQ(menuShown, !click.flips) << key.toStdString();
        EXPECT_EQ(label(program) != before, click.flips) << key.toStdString();
        if (menuShown) {
            // The menu opens at the pointer.
            const QString geometry = xdotool(
                {QStringLiteral("getwindowgeometry"), visibleWindows(program).constFirst()});
            const QRegularExpressionMatch at =
                QRegularExpression(QStringLiteral("Position: (\\d+),(\\d+)")).match(geometry);
            ASSERT_TRUE(at.hasMatch()) << geometry.toStdString();
            EXPECT_NEAR(at.captured(1).toInt(), 600, 50) << geometry.toStdString();
            // No title or tooltip while it is open, for a panel to draw over it.
            EXPECT_EQ(itemProperties(program).value("Title").toString(), QString());
            xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
            EXPECT_TRUE(waitFor([&] { return visibleWindows(program).isEmpty(); }, 2s));
            EXPECT_EQ(itemProperties(program).value("Title").toString(), label(program));
        }
    }
}

// Browsers and Zoom share the screen with X11 calls, past PipeWire; the window
// each shows meanwhile masks the title at once, from the moment it is made, and
// it comes back when the window goes. Windows that only look alike do not. The
// test plays the programs and the window manager: it makes the windows and
// lists them.
TEST_F(ProgramInXServer, SharingWindowsMaskTheTitleWhileListed) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    xcb_connection_t* x = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const auto atom = [&](const std::string& name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, name.size(), name.data()), nullptr);
        const xcb_atom_t found = reply->atom;
        std::free(reply);
        return found;
    };
    // Text, or 32-bit values.
    const auto set = [&](xcb_window_t window, const char* property, xcb_atom_t type,
                         const auto& values) {
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, atom(property), type,
                            sizeof values[0] * 8, values.size(), values.data());
    };
    // A class, if any, holds instance and class, each ending in a zero.
    struct Shown {
        std::string wmClass, role, title;
        std::uint32_t pid;
        std::vector<xcb_atom_t> states;
        std::uint32_t desktop = 0;
        bool listed = true;
    };
    using namespace std::string_literals;
    const xcb_atom_t above = atom("_NET_WM_STATE_ABOVE"), hidden = atom("_NET_WM_STATE_HIDDEN");
    constexpr std::uint32_t all = 0xFFFFFFFF;
    const Shown browser{"chromium\0Chromium\0"s, "browser", "Meet", 42, {}};
    const Shown bar{"", "", "meet.example is sharing your screen.", 42, {above}, all};
    const struct {
        bool masks;
        const char* what;
        std::vector<Shown> windows;
    } cases[] = {
        {true, "Chromium's bar", {browser, bar}},
        {true, "Chromium's bar, minimised", {browser, {"", "", "", 42, {above, hidden}, all}}},
        {false, "a bar of another process", {browser, {"", "", "", 43, {above}, all}}},
        // Cinnamon leaves it on the one desktop.
        {true, "Chromium's bar on one desktop", {browser, {"", "", "", 42, {above}, 0}}},
        {false, "a bar not on top", {browser, {"", "", "", 42, {}, all}}},
        // Shown, and listed, up to a second later under Cinnamon.
        {true,
         "Chromium's bar, made, not yet listed",
         {browser, {"", "", "", 42, {above}, 0, false}}},
        {false,
         "a window on top, on all desktops",
         {{"xterm\0XTerm\0"s, "", "", 44, {above}, all}}},
        {true, "Firefox's indicator", {{"B\0firefox-esr\0"s, "WebRTCGlobalIndicator", "", 45, {}}}},
        {false, "another Firefox window", {{"N\0firefox-esr\0"s, "browser", "", 45, {}}}},
        {true, "Zoom's share toolbar", {{"zoom\0zoom\0"s, "", "as_toolbar", 46, {}}}},
        {false, "another Zoom window", {{"zoom\0zoom\0"s, "", "Zoom Meeting", 46, {}}}},
    };
    for (const auto& sharing : cases) {
        SCOPED_TRACE(sharing.what);
        std::vector<xcb_window_t> made, listed;
        for (const Shown& shown : sharing.windows) {
            const xcb_window_t window = made.emplace_back(xcb_generate_id(x));
            if (shown.listed) {
                listed.push_back(window);
            }
            xcb_create_window(x, XCB_COPY_FROM_PARENT, window, root, 0, 0, 100, 30, 0,
                              XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
            set(window, "WM_CLASS", XCB_ATOM_STRING, shown.wmClass);
            set(window, "WM_WINDOW_ROLE", XCB_ATOM_STRING, shown.role);
            set(window, "WM_NAME", XCB_ATOM_STRING, shown.title);
            set(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, std::vector{shown.pid});
            set(window, "_NET_WM_STATE", XCB_ATOM_ATOM, shown.states);
        }
        set(root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, listed);
        xcb_flush(x);
        // As Chromium's bar is: put on all desktops moments after it is listed.
        std::this_thread::sleep_for(50ms);
        for (std::size_t i = 0; i < made.size(); ++i) {
            set(made[i], "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL,
                std::vector{sharing.windows[i].desktop});
        }
        xcb_flush(x);
        if (sharing.masks) {
            // Long before the next refresh the figure would need: a minute away.
            EXPECT_TRUE(labelBecomes(program, masked, 2s));
        } else {
            waitFor([] { return false; }, 600ms);
            EXPECT_EQ(label(program), unmasked);
        }
        set(root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, std::vector<xcb_window_t>{});
        for (const xcb_window_t window : made) {
            xcb_destroy_window(x, window);
        }
        xcb_flush(x);
        EXPECT_TRUE(labelBecomes(program, unmasked, 2s));
    }
    xcb_disconnect(x);
}

// Recorders and meeting programs read the screen with X11 calls and show no
// window: another client reading most of the screen again and again masks the
// title, until two seconds after its last read. The test is that client.
TEST_F(ProgramInXServer, AnotherClientReadingTheScreenMasksTheTitle) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    xcb_connection_t* x = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const auto readScreen = [&](std::uint16_t height) {
        std::free(xcb_get_image_reply(x,
                                      xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0,
                                                    0, screen->width_in_pixels, height, ~0u),
                                      nullptr));
    };
    const std::uint16_t whole = screen->height_in_pixels, strip = whole / 20;
    const struct {
        bool masks;
        const char* what;
        int looks;
        std::uint16_t height;
        std::chrono::milliseconds apart;
    } cases[] = {
        {true, "the whole screen, twice", 2, whole, 300ms},
        {true, "frame after frame", 15, whole, 33ms},
        {false, "one screenshot", 1, whole, 0ms},
        {false, "a strip, again and again", 15, strip, 33ms},
    };
    for (const auto& reading : cases) {
        SCOPED_TRACE(reading.what);
        for (int look = 0; look < reading.looks; ++look) {
            std::this_thread::sleep_for(look ? reading.apart : 0ms);
            readScreen(reading.height);
        }
        if (reading.masks) {
            ASSERT_TRUE(labelBecomes(program, masked, 2s));
            // Still masked a second after the last read, back after two.
            waitFor([] { return false; }, 1s);
            EXPECT_EQ(label(program), masked);
            EXPECT_TRUE(labelBecomes(program, unmasked, 3s));
        } else {
            waitFor([] { return false; }, 600ms);
            EXPECT_EQ(label(program), unmasked);
        }
    }
    // A browser shows its sharing window while it reads: the window going ends
    // both at once, without the quiet time.
    const auto setProperty = [&](xcb_window_t window, const char* name, xcb_atom_t type,
                                 std::uint8_t format, const auto& values) {
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr);
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, window, atom->atom, type, format,
                            values.size(), values.data());
        std::free(atom);
    };
    const xcb_window_t indicator = xcb_generate_id(x);
    xcb_create_window(x, XCB_COPY_FROM_PARENT, indicator, screen->root, 0, 0, 100, 30, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    setProperty(indicator, "WM_CLASS", XCB_ATOM_STRING, 8, std::string("B\0firefox-esr\0", 14));
    setProperty(indicator, "WM_WINDOW_ROLE", XCB_ATOM_STRING, 8,
                std::string("WebRTCGlobalIndicator"));
    setProperty(indicator, "_NET_WM_PID", XCB_ATOM_CARDINAL, 32,
                std::vector{std::uint32_t(getpid())});
    setProperty(screen->root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, 32, std::vector{indicator});
    readScreen(whole);
    readScreen(whole);
    ASSERT_TRUE(labelBecomes(program, masked, 2s));
    setProperty(screen->root, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, 32, std::vector<xcb_window_t>{});
    xcb_destroy_window(x, indicator);
    xcb_flush(x);
    EXPECT_TRUE(labelBecomes(program, unmasked, 1s));
    xcb_disconnect(x);
}

TEST_F(ProgramInXServer, AShiftClickThatOpensAPanelDrawnMenuLeavesItsCheckMarkTrue) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    MessageRecorder updates;
    ASSERT_TRUE(host.connect(
        itemService(program), QStringLiteral("/MenuBar"), QStringLiteral("com.canonical.dbusmenu"),
        QStringLiteral("ItemsPropertiesUpdated"), &updates, SLOT(message(QDBusMessage))));

    // Masks, then unmasks: the mark is right in both directions.
    for (const char* key : {"shift", "alt"}) {
        const bool maskedBefore = label(program) == masked;
        updates.messages.clear();
        xdotool({QStringLiteral("keydown"), QString::fromLatin1(key)});
        const QDBusMessage opening = callMenu(program, QStringLiteral("AboutToShow"), {0});
        xdotool({QStringLiteral("keyup"), QString::fromLatin1(key)});
        const bool maskedNow = label(program) == masked;
        ASSERT_NE(maskedNow, maskedBefore) << key;

        // The panel, drawing the menu now, reads it again and hears of the mark.
        EXPECT_TRUE(opening.arguments().value(0).toBool()) << key;
        EXPECT_EQ(toggleState(program), maskedNow ? 1 : 0) << key;
        ASSERT_TRUE(waitFor([&] { return !updates.messages.empty(); }, 1s)) << key;
        DBusMenuItemList updated;
        updates.messages.front().arguments().value(0).value<QDBusArgument>() >> updated;
        ASSERT_EQ(updated.size(), 1) << key;
        EXPECT_EQ(updated.front().id, 1) << key;
        EXPECT_EQ(updated.front().properties.value("toggle-state").toInt(), maskedNow ? 1 : 0)
            << key;
        sendMenuEvent(program, 0, QStringLiteral("closed"));
    }
}

// Where X11 has an old-style tray but no watcher, the item is an icon there
// until a watcher comes; a tray that starts after the program is found too.
TEST_F(ProgramInXServer, AnOldStyleTrayHoldsTheIconUntilAWatcherComes) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitFor([&] { return namesOnBus().contains(itemService(program)); }, 5s));
    startClient(QStringLiteral("trayer"),
                {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                 QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                 QStringLiteral("--height"), QStringLiteral("24")});
    ASSERT_TRUE(waitFor([&] { return dockedIcons(program).size() == 1; }, 10s));
    const QString icon = dockedIcons(program).front();

    // A middle click and a Shift-click flip the masking; a click shows the menu.
    // Away again at once, before a tooltip shows.
    const auto click = [&](const char* button) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), icon, QStringLiteral("8"),
                 QStringLiteral("8"), QStringLiteral("click"), QString::fromLatin1(button),
                 QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("500")});
    };
    click("2");
    EXPECT_TRUE(labelBecomes(program, masked, 2s));
    xdotool({QStringLiteral("keydown"), QStringLiteral("shift")});
    click("1");
    xdotool({QStringLiteral("keyup"), QStringLiteral("shift")});
    EXPECT_TRUE(labelBecomes(program, unmasked, 2s));
    EXPECT_EQ(visibleWindows(program), QStringList{icon});
    click("3");
    EXPECT_TRUE(waitFor([&] { return visibleWindows(program).size() == 2; }, 2s));
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});

    TestWatcher watcher(bus, QStringLiteral("watcher"));
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    EXPECT_TRUE(waitFor([&] { return dockedIcons(program).isEmpty(); }, 2s));
    // It stays in the panel alone.
    waitFor([] { return false; }, 1s);
    EXPECT_TRUE(dockedIcons(program).isEmpty());
}

TEST_F(ProgramInXServer, TheSettingsWindowOpensOnAFirstRunAndOnlyOnce) {
    storePreferences(windowOver()); // no daily pay yet
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));
    ASSERT_TRUE(waitFor([&] { return settingsWindows().size() == 1; }, 3s));

    // From the menu, and from a second launch: still the one window.
    sendMenuEvent(program, 2, QStringLiteral("clicked"));
    QProcess& second = launch(true, display);
    ASSERT_TRUE(second.waitForFinished(5000));
    waitFor([] { return false; }, 300ms);
    const QStringList windows = settingsWindows();
    ASSERT_EQ(windows.size(), 1);

    // Not resizable: the window manager is told one size only.
    QProcess properties;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    properties.setProcessEnvironment(environment);
    properties.start(QStringLiteral("xprop"),
                     {QStringLiteral("-id"), windows.front(), QStringLiteral("WM_NORMAL_HINTS")});
    properties.waitForFinished(5000);
    const QString hints = QString::fromUtf8(properties.readAllStandardOutput());
    const QRegularExpression minimum(QStringLiteral("minimum size: (\\d+ by \\d+)"));
    const QRegularExpression maximum(QStringLiteral("maximum size: (\\d+ by \\d+)"));
    ASSERT_TRUE(minimum.match(hints).hasMatch()) << hints.toStdString();
    EXPECT_EQ(minimum.match(hints).captured(1), maximum.match(hints).captured(1));
}

TEST_F(ProgramInXServer, TheSettingsWindowTakesTheFocusFromAnotherProgramUnderAWindowManager) {
    storePreferences("dailyPay=200\ncurrencySymbol=$\n" + windowOver());
    // Openbox keeps new windows of other programs from taking the focus.
    startClient(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const QString windowManagerCheck = QStringLiteral("_NET_SUPPORTING_WM_CHECK(WINDOW)");
    ASSERT_TRUE(waitFor(
        [&] {
            QProcess properties;
            properties.setProcessEnvironment(displayEnvironment());
            properties.start(QStringLiteral("xprop"),
                             {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            properties.waitForFinished(5000);
            return properties.readAllStandardOutput().startsWith(windowManagerCheck.toUtf8());
        },
        10s));
    TestWatcher watcher(bus, QStringLiteral("watcher"));
    QProcess& program = launch(true, display);
    ASSERT_TRUE(waitForRegistrations(watcher, 1));

    // The user works in another program's window, clicked into; in a corner,
    // clear of the settings window in the middle.
    startClient(QStringLiteral("xmessage"),
                {QStringLiteral("-title"), QStringLiteral("Another program"),
                 QStringLiteral("-geometry"), QStringLiteral("+0+0"),
                 QStringLiteral("Another program has the focus")});
    QString other;
    ASSERT_TRUE(waitFor(
        [&] {
            other = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), QStringLiteral("^Another program$")});
            return !other.isEmpty();
        },
        10s));
    // A new window, then the same one again from behind the other.
    for (const char* opening : {"first", "again"}) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), other,
                 QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("click"),
                 QStringLiteral("1")});
        ASSERT_TRUE(
            waitFor([&] { return xdotool({QStringLiteral("getactivewindow")}) == other; }, 2s))
            << opening;

        sendMenuEvent(program, 2, QStringLiteral("clicked"));
        ASSERT_TRUE(waitFor([&] { return settingsWindows().size() == 1; }, 3s)) << opening;
        const QString settings = settingsWindows().front();
        EXPECT_TRUE(
            waitFor([&] { return xdotool({QStringLiteral("getactivewindow")}) == settings; }, 2s))
            << opening
            << ", active: " << xdotool({QStringLiteral("getactivewindow")}).toStdString();
        EXPECT_EQ(xdotool({QStringLiteral("getwindowfocus")}), settings) << opening;
    }
}

TEST_F(ProgramInXServer, APositiveOrUnreadablePayOpensNothingAtLaunch) {
    for (const char* pay : {"dailyPay=200\n", "dailyPay=nan\n"}) {
        storePreferences(pay + windowOver());
        TestWatcher watcher(bus, QStringLiteral("watcher"));
        QProcess& program = launch(true, display);
        ASSERT_TRUE(waitForRegistrations(watcher, 1));
        waitFor([] { return false; }, 500ms);
        EXPECT_TRUE(settingsWindows().isEmpty()) << pay;
        stopProcess(program);
    }
}

} // namespace
