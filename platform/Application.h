#pragma once

// Told by the application when it has finished starting.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Called once, from the event loop, before any user event is delivered.
    virtual void applicationDidFinishLaunching() = 0;
};

// How the program presents itself on the desktop.
enum class ActivationPolicy {
    regular = 0,
    // No main window and no taskbar entry: the panel item is the program's only presence.
    accessory = 1,
};

// The one application object of the process, over QApplication.
class Application {
public:
    // Created on first use; lives until the process ends.
    static Application& shared();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // False when another Tallyglow already runs in this desktop session. With
    // no session bus there is no way to tell, and the answer is true.
    bool isOnlyInstanceInSession();

    // The delegate is not owned: whoever made it keeps it for the whole run.
    void setDelegate(ApplicationDelegate* delegate);
    void setActivationPolicy(ActivationPolicy policy);

    // Tells the delegate that launching has finished, then runs the event loop
    // until the application quits; returns its exit status.
    int run();

private:
    Application();

    ApplicationDelegate* delegate = nullptr;
};
