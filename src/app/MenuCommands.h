#pragma once

#include "app/TallowApp.h"
#include "authoring/panes/CTextView.h"
#include "engine/CHAApp.h"
#include "engine/NumberCommandHandler.h"
#include "foundation/GenericSignal.h"
#include "foundation/Signal.h"

#include <cstdint>

// The Import command: asks for a page or a sound file and imports it into the active page pane.
// Enabled while a window is open and nothing blocking is in front.
class ImportSignal : public Signal<CHAApp> {
public:
    ImportSignal();

protected:
    int32_t Status(CHAApp& app) override;
    void Act(CHAApp& app) override;
};

// The Publish command: publishes the project of the front page window. Enabled while a window is
// open and nothing blocking is in front.
class PublishSignal : public Signal<TallowApp> {
public:
    PublishSignal();

protected:
    int32_t Status(TallowApp& app) override;
    void Act(TallowApp& app) override;
};

namespace pw::app {

// A numbered command for whichever handler receives it (the page pane, the application): the
// handler's own status for the number, and its DoCommand with the number.
class NumberCommandSignal : public Signal<NumberCommandHandler> {
public:
    explicit NumberCommandSignal(int32_t number);

protected:
    int32_t Status(NumberCommandHandler& handler) override;
    void Act(NumberCommandHandler& handler) override;

private:
    int32_t number;
};

// "Pick Color": the text pane opens the foreground colour selector; enabled only for a text pane.
class PickColorSignal : public Signal<CTextView> {
public:
    PickColorSignal();

protected:
    void Act(CTextView& pane) override { pane.DefaultBounds(); }
};

// The command of an entry whose action the program does not offer yet: it shows in its menu,
// disabled for every receiver.
class UnavailableSignal : public GenericSignal {
public:
    int32_t GetSignalStatus(Smart*) override { return disabled; }
    // Never reached through a menu, which asks the status first.
    void Send(Smart* watcher) override;
};

} // namespace pw::app
