#include "Application.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <cstdlib>

namespace {

// Owned while Tallyglow runs, so that a second launch in the same session can tell.
const char* const instanceBusName = "org.tallyglow.Tallyglow";

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
    QApplication::setApplicationName(QStringLiteral("tallyglow"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallyglow"));
    QApplication::setDesktopFileName(QStringLiteral("tallyglow"));
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
    return !reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceNotRegistered;
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
