#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "ui/Controllable.h"

#include <cstdint>
#include <vector>

class CShow;

namespace pw::authoring {

// Told by the speed control after every change of the rate.
class SpeedClient {
public:
    virtual void SpeedChanged() = 0;

protected:
    ~SpeedClient() = default;
};

} // namespace pw::authoring

// The value between the speed dialog's scroll bar and a page: the bar's position is the page's
// frame rate, within the bounds given, moving 5 frames a second a page. The control keeps the page
// alive while it exists. Clients are borrowed: the dialog removes itself before it goes.
class SpeedControl : public Controllable, public SmartImplementation {
    PW_CLASS_INFO(SpeedControl)

public:
    SpeedControl(const SmartPtr<CShow>& target, int16_t minimum, int16_t maximum);
    SpeedControl(const SpeedControl& other);

    // The bounds, whatever the argument.
    void GetRange(int32_t argument, int32_t* first, int32_t* second) override;
    int32_t GetPageSize(int32_t) override { return 5; }
    // Sets the page's frame rate, then tells every client.
    void TakeValue(int32_t value) override;
    // The page's frame rate.
    int32_t GetValueFor(int32_t) override;

    void SetPosition(int32_t value) { TakeValue(value); }
    int32_t GetPosition() { return GetValueFor(0); }

    // Adds the client, or removes it when present.
    void ToggleClient(pw::authoring::SpeedClient* client);

private:
    SmartPtr<CShow> target;
    int16_t minimum;
    int16_t maximum;
    std::vector<pw::authoring::SpeedClient*> clients;
};
