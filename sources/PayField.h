// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// The settings form's pay field. While the figure is masked, its digits show
// only once the user has gone into the field since the window opened: the
// window manager, or Qt, gives the focus back to the field on its own when
// the window opens again, and a screen reader would read the amount out.
class PayField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    void setMasked(bool masked);
    // The window closed: the next opening keeps the pay hidden again.
    void conceal();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void showOrHide();

    bool masked = false;
    // The user put the focus into the field since the window opened.
    bool revealed = false;
};
