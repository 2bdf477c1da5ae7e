// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "BusCall.h"
#include "BusLossWatch.h"
#include "EndSignals.h"
#include "HeldKeys.h"
#include "InstanceBus.h"
#include "InstanceService.h"
#include "Translations.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusPendingReply>
#include <QTimer>
#include <cstdlib>

namespace {

// The request for the instance's name, sent once.
QDBusPendingCall* instanceClaim = nullptr;
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
    HeldKeys::listen();
}

void Application::claimInstanceName() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (instanceClaim || !bus.isConnected()) {
        return;
    }
    QDBusMessage request = busCall(QStringLiteral("RequestName"));
    // Not queued for the name: either this process owns it now, or another one does.
    constexpr uint doNotQueue = 4;
    request << InstanceBus::name() << doNotQueue;
    instanceClaim = new QDBusPendingCall(bus.asyncCall(request));
}

bool Application::isOnlyInstanceInSession() {
    claimInstanceName();
    if (!instanceClaim) {
        return true;
    }
    QDBusPendingReply<uint> reply = *instanceClaim;
    reply.waitForFinished();
    // A bus that cannot answer is no reason to stay away.
    constexpr uint ownedByAnother = 3;
    const bool only = reply.isError() || reply.value() != ownedByAnother;
    if (only) {
        instanceService = new InstanceService(
            [this] {
                if (delegate) {
                    delegate->applicationShouldHandleReopen();
                }
            },
            qApp);
        QDBusConnection::sessionBus().registerObject(InstanceBus::path(), instanceService,
                                                     QDBusConnection::ExportAdaptors);
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
    QMetaObject::invokeMethod(
        qApp,
        [this] {
            if (!delegate) {
                std::abort(); // the entry point sets the delegate before running
            }
            delegate->applicationDidFinishLaunching();
            // Once launch has sent what shows the item: each watch on the bus
            // waits for Qt's bus thread to take it.
            QTimer::singleShot(0, qApp, [] { new BusLossWatch(qApp); });
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
    return HeldKeys::forClick();
}

bool Application::seesHeldKeys() {
    return QGuiApplication::platformName() != QStringLiteral("wayland");
}
