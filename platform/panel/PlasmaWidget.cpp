// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlasmaWidget.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStandardPaths>

namespace {

const QString shellService = QStringLiteral("org.kde.plasmashell");

// The shell's scripting (Plasma 5.27 and 6): the widget for the running
// Plasma, a panel's widgets by kind, and addWidget, which gives nothing back
// while widgets are locked. What the script prints is the shell's answer. Top
// or bottom panels first: a vertical one has no room for a line of text. The
// widget goes where the panel's items are, just before its system tray.
QString placementScript(bool add) {
    return QStringLiteral(
               "var add = %3, best = null, found = false;"
               "var name = typeof applicationVersion === 'string' &&"
               "  parseInt(applicationVersion) < 6 ? '%2' : '%1';"
               "panels().forEach(function (panel) {"
               "  if (panel.widgets(name).length > 0) found = true;"
               "  var across = panel.location === 'top' || panel.location === 'bottom';"
               "  if (!best || (across && !best.across)) best = {panel: panel, across: across};"
               "});"
               "if (knownWidgetTypes.indexOf(name) < 0) print('not installed');"
               "else if (found) print('inPanel');"
               "else if (!add) print('notInPanel');"
               "else if (!best) print('no panel');"
               "else if (typeof locked !== 'undefined' && locked) print('locked');"
               "else {"
               "  var tray = best.panel.widgets('org.kde.plasma.systemtray')[0];"
               "  var added = tray ? best.panel.addWidget(name, tray.geometry.x, tray.geometry.y)"
               "                   : best.panel.addWidget(name);"
               "  print(added ? 'inPanel' : 'locked');"
               "}")
        .arg(QStringLiteral(TALLYGLOW_PLASMOID_ID), QStringLiteral(TALLYGLOW_PLASMOID5_ID),
             add ? QStringLiteral("true") : QStringLiteral("false"));
}

PlasmaWidget::Placement placementFrom(const QString& printed) {
    using Placement = PlasmaWidget::Placement;
    const QString word = printed.trimmed();
    if (word == QLatin1String("inPanel")) {
        return Placement::inPanel;
    }
    if (word == QLatin1String("notInPanel")) {
        return Placement::notInPanel;
    }
    if (word == QLatin1String("locked")) {
        return Placement::locked;
    }
    return Placement::failed;
}

} // namespace

PlasmaWidget::PlasmaWidget() : PlasmaWidget(QDBusConnection::sessionBus()) {}

PlasmaWidget::PlasmaWidget(const QDBusConnection& bus)
    : connection(std::make_unique<QDBusConnection>(bus)) {}

PlasmaWidget::~PlasmaWidget() = default;

bool PlasmaWidget::isInstalled() {
    for (const char* id : {TALLYGLOW_PLASMOID_ID, TALLYGLOW_PLASMOID5_ID}) {
        const QString metadata =
            QStringLiteral("plasma/plasmoids/%1/metadata.json").arg(QLatin1String(id));
        if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, metadata).isEmpty()) {
            return true;
        }
    }
    return false;
}

bool PlasmaWidget::shellRuns() const {
    return connection->interface() &&
           connection->interface()->isServiceRegistered(shellService).value();
}

void PlasmaWidget::askPlacement(std::function<void(Placement, const QString&)> answer) const {
    runScript(placementScript(false), std::move(answer));
}

void PlasmaWidget::addToPanel(std::function<void(Placement, const QString&)> answer) const {
    runScript(placementScript(true), std::move(answer));
}

void PlasmaWidget::runScript(const QString& script,
                             std::function<void(Placement, const QString&)> answer) const {
    QDBusMessage call = QDBusMessage::createMethodCall(shellService, QStringLiteral("/PlasmaShell"),
                                                       QStringLiteral("org.kde.PlasmaShell"),
                                                       QStringLiteral("evaluateScript"));
    call << script;
    // Only a running shell can say; none is started for the question.
    call.setAutoStartService(false);
    auto* pending = new QDBusPendingCallWatcher(connection->asyncCall(call));
    QObject::connect(
        pending, &QDBusPendingCallWatcher::finished,
        [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            const QDBusPendingReply<QString> reply = *finished;
            if (!reply.isError()) {
                const Placement placement = placementFrom(reply.value());
                answer(placement,
                       placement == Placement::failed ? reply.value().trimmed() : QString());
                return;
            }
            const QDBusError error = reply.error();
            if (error.type() == QDBusError::ServiceUnknown ||
                error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
                answer(Placement::noShell, {});
            } else if (error.message() == QLatin1String("Widgets are locked")) {
                // The shell's own refusal, where widgets are locked for good.
                answer(Placement::locked, {});
            } else {
                answer(Placement::failed,
                       error.message().isEmpty() ? error.name() : error.message());
            }
        });
}
