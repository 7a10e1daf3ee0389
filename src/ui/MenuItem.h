#pragma once

#include "foundation/GenericSignal.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class App;

// One entry of a menu: its title, its Ctrl shortcut letter (0 for none), its state (bit 0
// disabled, bit 1 marked) and the command signal it sends. The state follows the signal's status
// for the current command receiver, asked before a menu opens.
class MenuItem : public SmartImplementation {
    PW_CLASS_INFO(MenuItem)
    PW_COPY_SLOTS

public:
    static constexpr uint32_t kDisabled = 0x01;
    static constexpr uint32_t kMarked = 0x02;

    MenuItem(const String& title, uint8_t key, const SmartPtr<GenericSignal>& command);
    MenuItem(const MenuItem& other);
    MenuItem& operator=(const MenuItem& other);

    void GetTitle(String& title, uint8_t& key) const;
    const String& Title() const { return title; }
    void SetTitle(const String& newTitle);
    uint32_t GetState() const { return state; }
    SmartPtr<GenericSignal> GetCommand() const { return command; }

    // Sends the command to the application's command receiver ("Nothing to send to" when none).
    void Select(intptr_t argument, App& watcher);
    // Disabled when the receiver's status is 3, marked when it is 1.
    void UpdateState(intptr_t argument, App& watcher);

private:
    String title;
    uint8_t key;
    uint32_t state { 0 };
    SmartPtr<GenericSignal> command;
};
