// SPDX-License-Identifier: GPL-3.0-or-later
#include "PayField.h"

#include <QFocusEvent>

void PayField::setMasked(bool nowMasked) {
    masked = nowMasked;
    showOrHide();
}

void PayField::conceal() {
    revealed = false;
    showOrHide();
}

void PayField::focusInEvent(QFocusEvent* event) {
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        revealed = true;
        break;
    default:
        revealed = false;
        break;
    }
    showOrHide();
    QLineEdit::focusInEvent(event);
}

void PayField::focusOutEvent(QFocusEvent* event) {
    conceal();
    QLineEdit::focusOutEvent(event);
}

void PayField::mousePressEvent(QMouseEvent* event) {
    // A click into the field that has the focus already.
    if (!revealed) {
        revealed = true;
        showOrHide();
    }
    QLineEdit::mousePressEvent(event);
}

void PayField::showOrHide() {
    const auto echo = masked && !revealed ? QLineEdit::Password : QLineEdit::Normal;
    if (echoMode() != echo) {
        setEchoMode(echo);
    }
}
