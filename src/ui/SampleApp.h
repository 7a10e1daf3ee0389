#pragma once

#include "ui/App.h"

namespace pw::ui {

// The framework's own sample application, which the program runs until its real application
// stands: a File menu (new window, quit), an Edit menu (undo, the clipboard commands), and for
// each new document a window holding one SampleView.
class SampleApp : public App {
    PW_CLASS_INFO(SampleApp)

public:
    SampleApp();

    // The factory handed to the framework main.
    static App* Make();

    // Opens a new window with its view and makes it the front window.
    void NewDocument() override;

private:
    static SmartPtr<MenuBar> BuildMenus();

    int32_t documents { 0 };
};

} // namespace pw::ui
