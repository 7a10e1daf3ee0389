// Tests that show alerts: alerts are enabled for the test (as the framework main enables them)
// and put back to their start-up state after it. Boxes are answered from the platform's script.
#pragma once

#include "foundation/Alert.h"

#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class AlertsShown : public ::testing::Test {
protected:
    void SetUp() override { Alert::EnableAlerts(); }
    void TearDown() override { pw::foundation::SetAlertsEnabled(false); }

    // The texts of every box shown so far.
    static std::vector<std::string> Shown()
    {
        std::vector<std::string> texts;
        for (const auto& record : pw::platform::testing::AlertLog())
            texts.push_back(record.text);
        return texts;
    }
};
