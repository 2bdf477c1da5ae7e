// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstddef>
#include <memory>

class DesktopNotification;

// Tells the user why no panel shows the item and what would make one show it,
// once per spell of its not being shown: in a notification, and in a line the
// settings form shows. On GNOME the shell is asked about its AppIndicator
// extension first.
//
// Owned through a std::shared_ptr: the shell's answers hold it weakly.
class PanelNotice final : public std::enable_shared_from_this<PanelNotice> {
    Q_DECLARE_TR_FUNCTIONS(PanelNotice)

public:
    PanelNotice();
    ~PanelNotice();
    PanelNotice(const PanelNotice&) = delete;
    PanelNotice& operator=(const PanelNotice&) = delete;

    // No panel has shown the item for a while: finds out why, and says so.
    void tellWhyNoPanelShowsItem();
    // A panel shows the item: the notice goes, and the form's line with it.
    void withdraw();
    // What the form says while no panel shows the item; empty while one does.
    const QString& note() const { return panelNote; }

private:
    // What makes this desktop's panel show the item.
    enum class PanelFix;
    // Asks the shell about the AppIndicator extension by each of its names in turn.
    void askAppIndicatorState(std::size_t candidate);
    void advise(PanelFix fix);
    // The notice's Install button: GNOME Shell fetches the extension, once the user agrees.
    void installAppIndicator();
    // In one more notice, once a spell.
    void tellInstallFailed(const QString& reason);

    // From the telling until a panel shows the item.
    bool telling = false;
    // The extension's name, as installed here, when it is switched off.
    QString offExtension;
    bool installFailureTold = false;
    std::unique_ptr<DesktopNotification> notification;
    QString panelNote;
};
