// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QDBusConnection;

// Tallyglow's widget in Plasma's panel (a package for Plasma 5, one for 6), as the running shell
// (org.kde.PlasmaShell on the session bus) reports it and adds it, through a
// script of the shell's own.
class PlasmaWidget {
public:
    enum class Placement {
        // No Plasma shell on the bus.
        noShell,
        notInPanel,
        inPanel,
        // Widgets are locked: the shell adds none.
        locked,
        // The shell answered with an error, or does not know the widget.
        failed,
    };

    // The session bus's shell.
    PlasmaWidget();
    explicit PlasmaWidget(const QDBusConnection& bus);
    ~PlasmaWidget();
    PlasmaWidget(const PlasmaWidget&) = delete;
    PlasmaWidget& operator=(const PlasmaWidget&) = delete;

    // Whether a package of the widget (for Plasma 5 or 6) is where Plasma looks for widgets.
    static bool isInstalled();

    // Whether a Plasma shell is on the bus now; asks the bus, not the shell.
    bool shellRuns() const;
    // Answers from the event loop, once the shell has; `failed` brings the
    // shell's reason. Asking changes nothing.
    void askPlacement(std::function<void(Placement, const QString& reason)> answer) const;
    // Adds the widget before the first panel's system tray, unless a panel has it already:
    // `inPanel` once it is there.
    void addToPanel(std::function<void(Placement, const QString& reason)> answer) const;

private:
    void runScript(const QString& script,
                   std::function<void(Placement, const QString&)> answer) const;

    std::unique_ptr<QDBusConnection> connection;
};
