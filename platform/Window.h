// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

class QWidget;

// A top-level window around one content widget, which it owns: a title bar
// with close and minimise buttons, and the content's size, fixed. Closing the
// window hides it; it lives, ready to be shown again, as long as it is owned.
class Window {
public:
    explicit Window(std::unique_ptr<QWidget> content);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void setTitle(const QString& title);
    // Places the window in the middle of its screen.
    void center();
    // Shows the window in front of the others, with the keyboard focus, even
    // while another program has it: the user asked for it through the panel.
    void makeKeyAndOrderFront();

    QWidget* widget() const { return frame.get(); }

private:
    std::unique_ptr<QWidget> frame;
};
