// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusMenu.h"

#include <QAction>
#include <QMenu>

StatusMenu::StatusMenu() = default;

// The drawn menu goes before the actions it shows.
StatusMenu::~StatusMenu() {
    drawn.reset();
}

QAction* StatusMenu::addAction(const QString& text) {
    return add(new QAction(text, this));
}

QAction* StatusMenu::addSeparator() {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    return add(separator);
}

QAction* StatusMenu::add(QAction* action) {
    entries << action;
    connect(action, &QObject::destroyed, this, [this, action] { forget(action); });
    if (drawn) {
        drawn->addAction(action);
    }
    Q_EMIT actionAdded(action);
    return action;
}

void StatusMenu::removeAction(QAction* action) {
    if (!entries.contains(action)) {
        return;
    }
    disconnect(action, &QObject::destroyed, this, nullptr);
    if (drawn) {
        drawn->removeAction(action);
    }
    forget(action);
}

void StatusMenu::forget(QAction* action) {
    if (entries.removeOne(action)) {
        Q_EMIT actionRemoved(action);
    }
}

QMenu* StatusMenu::menu() {
    if (!drawn) {
        drawn = std::make_unique<QMenu>();
        drawn->addActions(entries);
        connect(drawn.get(), &QMenu::aboutToShow, this, &StatusMenu::aboutToShow);
        connect(drawn.get(), &QMenu::aboutToHide, this, &StatusMenu::aboutToHide);
    }
    return drawn.get();
}
