// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "InstanceBus.h"
#include "InstanceService.h"
#include "Translations.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingReply>
#include <QSocketNotifier>
#include <QStyleHints>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <xcb/xcb.h>

namespace {

std::uint64_t flagsOf(Qt::KeyboardModifiers modifiers) {
    std::uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= ModifierFlags::shift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= ModifierFlags::control;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= ModifierFlags::option;
    }
    if (modifiers & Qt::MetaModifier) {
        flags |= ModifierFlags::command;
    }
    return flags;
}

std::uint64_t flagsOfX11Mask(std::uint8_t mask) {
    std::uint64_t flags = 0;
    if (mask & XCB_MOD_MASK_SHIFT) {
        flags |= ModifierFlags::shift;
    }
    if (mask & XCB_MOD_MASK_CONTROL) {
        flags |= ModifierFlags::control;
    }
    if (mask & XCB_MOD_MASK_1) {
        flags |= ModifierFlags::option;
    }
    if (mask & XCB_MOD_MASK_4) {
        flags |= ModifierFlags::command;
    }
    return flags;
}

// The start of an XKB StateNotify event, as the X protocol lays it out.
struct KeyboardStateNotice {
    std::uint8_t responseType;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    std::uint32_t time;
    std::uint8_t deviceId;
    std::uint8_t modifiers; // in effect now, as X11 mask bits
};
constexpr std::uint8_t xkbStateNotify = 2;

// Some panels tell the item of a click only once it cannot be the first half
// of a double click: GNOME's AppIndicator extension waits the double-click
// time, when the Shift held for the click is often up again. The X server's
// keyboard-state notices (which Qt asks for anyway) say when keys went up; a
// key released within the double-click time (and the moment a panel takes to
// call) still counts for the next click, unless it was already down for the
// click before.
class ReleasedKeys : public QAbstractNativeEventFilter {
public:
    explicit ReleasedKeys(std::uint8_t noticeCode) : noticeCode(noticeCode) {}

    std::uint64_t flagsForClick() {
        using namespace std::chrono_literals;
        const auto now = std::chrono::steady_clock::now();
        const std::chrono::milliseconds doubleClickTime(
            QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool counts =
            now - releasedAt <= doubleClickTime + 250ms && releasedKeyWentDownAt > lastClick;
        lastClick = now;
        return counts ? released : 0;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        const auto* notice = static_cast<const KeyboardStateNotice*>(message);
        if (eventType != "xcb_generic_event_t" || (notice->responseType & 0x7f) != noticeCode ||
            notice->xkbType != xkbStateNotify) {
            return false;
        }
        const auto time = std::chrono::steady_clock::now();
        const std::uint64_t now = flagsOfX11Mask(notice->modifiers);
        if (now & ~held) {
            wentDownAt = time;
        }
        if (held & ~now) {
            released = held & ~now;
            releasedAt = time;
            releasedKeyWentDownAt = wentDownAt;
        }
        held = now;
        return false; // Qt keeps its own keyboard state from the same notice
    }

private:
    std::uint8_t noticeCode;
    std::uint64_t held = 0;
    std::uint64_t released = 0;
    std::chrono::steady_clock::time_point wentDownAt;
    std::chrono::steady_clock::time_point releasedAt;
    std::chrono::steady_clock::time_point releasedKeyWentDownAt;
    std::chrono::steady_clock::time_point lastClick;
};

ReleasedKeys* releasedKeys = nullptr;

// Only on X11, where the keyboard's state is there to be heard.
void listenForReleasedKeys() {
    // The offscreen platform may offer the same interface, without a connection.
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QStringLiteral("xcb") || !connection) {
        return;
    }
    static constexpr char name[] = "XKEYBOARD";
    xcb_query_extension_reply_t* extension = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
    if (extension && extension->present) {
        releasedKeys = new ReleasedKeys(extension->first_event);
        qApp->installNativeEventFilter(releasedKeys);
    }
    std::free(extension);
}

// Written to by the signal handler, read by the event loop.
int endRequests[2] = {-1, -1};

void requestEnd(int) {
    const char byte = 1;
    // Nothing else is safe here; a full buffer already holds a request.
    [[maybe_unused]] const auto written = ::write(endRequests[1], &byte, 1);
}

// The session (logout, shutdown) and a terminal end the program with these;
// each ends it as "Quit" does, so that changes still waiting are written.
void quitOnEndSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, endRequests) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(endRequests[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (::read(endRequests[0], bytes, sizeof bytes) > 0) {
        }
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = requestEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

// A session bus that goes away takes the panel item with it: end as "Quit"
// does. Qt reports it as the bus's own Disconnected signal.
class BusLossWatch : public QObject {
    Q_OBJECT

public:
    explicit BusLossWatch(QObject* parent) : QObject(parent) {
        QDBusConnection::sessionBus().connect(
            QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
            QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
            SLOT(busLost()));
    }

private Q_SLOTS:
    void busLost() { QApplication::quit(); }
};

} // namespace

namespace {

// Set once this process owns the instance's name.
InstanceService* instanceService = nullptr;

} // namespace

Application& Application::shared() {
    // Never destroyed: the process ends with the application still in place.
    static Application* const application = new Application();
    return *application;
}

Application::Application() {
    // The program takes no command line; Qt still wants a name to go by.
    static int argumentCount = 1;
    static char name[] = "tallyglow";
    static char* arguments[] = {name, nullptr};
    new QApplication(argumentCount, arguments);
    // Texts in the user's language, before any window or menu is made.
    Translations::useUserLanguage();
    QApplication::setApplicationName(QStringLiteral("tallyglow"));
    // No display name: Qt would add it to every window title.
    // The desktop entry's name, by which desktops match our windows to it.
    QApplication::setDesktopFileName(QStringLiteral(TALLYGLOW_APPLICATION_ID));
    listenForReleasedKeys();
}

bool Application::isOnlyInstanceInSession() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return true;
    }
    const auto reply = bus.interface()->registerService(
        InstanceBus::name(), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    // A bus that cannot answer is no reason to stay away.
    const bool only =
        !reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceNotRegistered;
    if (only) {
        instanceService = new InstanceService(
            [this] {
                if (delegate) {
                    delegate->applicationShouldHandleReopen();
                }
            },
            qApp);
        bus.registerObject(InstanceBus::path(), instanceService, QDBusConnection::ExportAdaptors);
    }
    return only;
}

std::string Application::reopenRunningInstance() {
    InstanceProxy running(InstanceBus::name(), InstanceBus::path(), QDBusConnection::sessionBus());
    running.setTimeout(5000);
    // Waits for the answer, so the call is delivered before this process ends.
    QDBusPendingReply<> reply = running.Reopen();
    reply.waitForFinished();
    if (!reply.isError()) {
        return {};
    }
    // Another program holds the name, or the instance is stopped or hung.
    return QStringLiteral("cannot reach the Tallyglow running in this session: %1 on the "
                          "session bus answers %2")
        .arg(InstanceBus::name(),
             reply.error().name().isEmpty() ? QStringLiteral("nothing") : reply.error().name())
        .toStdString();
}

void Application::publishTitle(const PublishedTitle& title) {
    if (instanceService) {
        instanceService->publish(QString::fromStdString(title.text), title.masked);
    }
}

void Application::setDelegate(ApplicationDelegate* newDelegate) {
    delegate = newDelegate;
}

void Application::setActivationPolicy(ActivationPolicy policy) {
    // Closing the settings window must not end a program whose home is the panel.
    QApplication::setQuitOnLastWindowClosed(policy != ActivationPolicy::accessory);
}

int Application::run() {
    quitOnEndSignals();
    new BusLossWatch(qApp);
    QMetaObject::invokeMethod(
        qApp,
        [this] {
            if (!delegate) {
                std::abort(); // the entry point sets the delegate before running
            }
            delegate->applicationDidFinishLaunching();
        },
        Qt::QueuedConnection);
    return QApplication::exec();
}

void Application::terminate() {
    QApplication::quit();
}

std::uint64_t Application::modifierFlags() {
    if (!seesHeldKeys()) {
        return 0;
    }
    return flagsOf(QGuiApplication::queryKeyboardModifiers()) |
           (releasedKeys ? releasedKeys->flagsForClick() : 0);
}

bool Application::seesHeldKeys() {
    return QGuiApplication::platformName() != QStringLiteral("wayland");
}

#include "Application.moc"
