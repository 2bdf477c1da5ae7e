#include "Application.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdlib>
#include <functional>

namespace {

// Owned while Tallyglow runs, so that a second launch in the same session can tell.
const char* const instanceBusName = "org.tallyglow.Tallyglow";
const char* const instancePath = "/org/tallyglow/Tallyglow";
const char* const instanceInterface = "org.tallyglow.Tallyglow";

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

} // namespace

// What a second launch calls on the running instance.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tallyglow.Tallyglow")

public:
    ApplicationAdaptor(QObject* parent, std::function<void()> reopen)
        : QDBusAbstractAdaptor(parent), reopen(std::move(reopen)) {}

public Q_SLOTS:
    void Reopen() { reopen(); }

private:
    std::function<void()> reopen;
};

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
    QApplication::setApplicationName(QStringLiteral("tallyglow"));
    // No display name: Qt would add it to every window title.
    // The desktop entry's name, by which desktops match our windows to it.
    QApplication::setDesktopFileName(QStringLiteral(TALLYGLOW_APPLICATION_ID));
}

bool Application::isOnlyInstanceInSession() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return true;
    }
    const auto reply = bus.interface()->registerService(
        QString::fromLatin1(instanceBusName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    // A bus that cannot answer is no reason to stay away.
    const bool only =
        !reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceNotRegistered;
    if (only) {
        new ApplicationAdaptor(qApp, [this] {
            if (delegate) {
                delegate->applicationShouldHandleReopen();
            }
        });
        bus.registerObject(QString::fromLatin1(instancePath), qApp,
                           QDBusConnection::ExportAdaptors);
    }
    return only;
}

void Application::reopenRunningInstance() {
    const QDBusMessage reopen = QDBusMessage::createMethodCall(
        QString::fromLatin1(instanceBusName), QString::fromLatin1(instancePath),
        QString::fromLatin1(instanceInterface), QStringLiteral("Reopen"));
    // Waits for the answer, so the call is delivered before this process ends.
    QDBusConnection::sessionBus().call(reopen, QDBus::Block, 5000);
}

void Application::setDelegate(ApplicationDelegate* newDelegate) {
    delegate = newDelegate;
}

void Application::setActivationPolicy(ActivationPolicy policy) {
    // Closing the settings window must not end a program whose home is the panel.
    QApplication::setQuitOnLastWindowClosed(policy != ActivationPolicy::accessory);
}

int Application::run() {
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

std::uint64_t Application::currentEventModifierFlags() {
    // Clicks reach the program as D-Bus calls, with no input event behind them.
    return 0;
}

std::uint64_t Application::modifierFlags() {
    if (QGuiApplication::platformName() == QStringLiteral("wayland")) {
        return 0;
    }
    return flagsOf(QGuiApplication::queryKeyboardModifiers());
}

#include "Application.moc"
