#pragma once

#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"
#include "ui/App.h"
#include "ui/Tool.h"

#include <cstdint>

namespace pw::ui {

// The command signals typed for the application. AppSignal is their base: enabled while no
// blocking window is in front of the application.
class AppSignal : public Signal<App> {
protected:
    using Signal::Signal;
    int32_t Status(App& app) override;
};

// Makes a new document when the application may open one.
class NewDocumentSignal : public AppSignal {
public:
    NewDocumentSignal();

protected:
    void Act(App& app) override;
};

} // namespace pw::ui

// Quits with mode 2 (documents ask whether to save).
class QuitSignal : public pw::ui::AppSignal {
public:
    QuitSignal();

protected:
    void Act(App& app) override;
};

// The application's Open command with a mode.
class OpenSignal : public pw::ui::AppSignal {
public:
    explicit OpenSignal(int32_t mode);

protected:
    void Act(App& app) override;

private:
    int32_t mode;
};

// Closes the window that holds the application's current view (mode 2: a modified document asks
// whether to save); enabled while there is one and no blocking window is in front.
class CloseSignal : public pw::ui::AppSignal {
public:
    CloseSignal();

protected:
    int32_t Status(App& app) override;
    void Act(App& app) override;
};

namespace pw::ui {

// Makes its tool the application's current tool; the signal keeps the tool alive.
class SetToolSignal : public Signal<App> {
public:
    explicit SetToolSignal(const SmartPtr<Tool>& tool);

protected:
    void Act(App& app) override;

private:
    SmartPtr<Tool> tool;
};

// A clipboard command (0 cut, 1 copy, 2 paste, 3 replace, 4 clear), enabled while the
// application can run it.
class ClipTaskSignal : public Signal<App> {
public:
    explicit ClipTaskSignal(int32_t mode);

protected:
    int32_t Status(App& app) override;
    void Act(App& app) override;

private:
    int32_t mode;
};

} // namespace pw::ui
