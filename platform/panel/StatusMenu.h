// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;

// The panel item's menu: its actions, in order, which panels that draw menus
// themselves read over dbusmenu. The QMenu that draws them here is made only
// the first time the program has to draw the menu itself: most panels never
// ask, and its widgets stay all day once made.
class StatusMenu final : public QObject {
    Q_OBJECT

public:
    StatusMenu();
    ~StatusMenu() override;

    // The new action is the menu's, last in order.
    QAction* addAction(const QString& text);
    QAction* addSeparator();
    // The action leaves the menu, and stays the caller's.
    void removeAction(QAction* action);
    const QList<QAction*>& actions() const { return entries; }

    // The menu as the program draws it, made on first use.
    QMenu* menu();

Q_SIGNALS:
    void actionAdded(QAction* action);
    // Also sent for an action being destroyed: only its address is good then.
    void actionRemoved(QAction* action);
    // The drawn menu opens or closes.
    void aboutToShow();
    void aboutToHide();

private:
    QAction* add(QAction* action);
    void forget(QAction* action);

    QList<QAction*> entries;
    std::unique_ptr<QMenu> drawn;
};
