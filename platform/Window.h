#pragma once

#include <QString>
#include <memory>

class QWidget;

// A top-level window around one content widget, which it owns. Closing the
// window hides it; it lives, ready to be shown again, as long as it is owned.
class Window {
public:
    // Style bits.
    static constexpr int titled = 1;
    static constexpr int closable = 2;
    static constexpr int miniaturizable = 4;
    static constexpr int resizable = 8;

    explicit Window(std::unique_ptr<QWidget> content);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void setTitle(const QString& title);
    // Which of the title bar, close and minimise buttons, and resizing the window has.
    // Without resizing, the window keeps its content's size.
    void setStyleMask(int styleMask);
    // Places the window in the middle of its screen.
    void center();
    // Shows the window in front of the others, with the keyboard focus, even
    // while another program has it: the user asked for it through the panel.
    void makeKeyAndOrderFront();

    QWidget* widget() const { return frame.get(); }

private:
    std::unique_ptr<QWidget> frame;
};
