#include "foundation/Alert.h"

#include "AlertFixture.h"

#include "platform/kernel/KernelTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using pw::platform::testing::AlertLog;
using pw::platform::testing::ScriptMessageBoxes;

using AlertTest = AlertsShown;

TEST_F(AlertTest, KindsAndButtonsMapOntoBoxStylesAndAnswers)
{
    struct Case {
        const char* name;
        int kind;
        int buttons;
        int pressed;
        UINT style;
        int16_t answer;
    } cases[] = {
        { "plain OK", 0, 0, IDOK, MB_OK, 0 },
        { "information OK Cancel, cancelled", 1, 1, IDCANCEL, MB_ICONINFORMATION | MB_OKCANCEL, 1 },
        { "exclamation Yes No Cancel, yes", 2, 2, IDYES, MB_ICONEXCLAMATION | MB_YESNOCANCEL, 0 },
        { "exclamation Yes No Cancel, no", 2, 2, IDNO, MB_ICONEXCLAMATION | MB_YESNOCANCEL, 2 },
        { "stop", 3, 0, IDOK, MB_ICONSTOP | MB_OK, 0 },
        { "a box that could not show answers Cancel", 1, 1, 0, MB_ICONINFORMATION | MB_OKCANCEL, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t shown = AlertLog().size();
        ScriptMessageBoxes({ c.pressed });
        EXPECT_EQ(Alert(c.kind, c.buttons, "Question?"), c.answer);
        ASSERT_EQ(AlertLog().size(), shown + 1);
        EXPECT_EQ(AlertLog().back().style, c.style);
        EXPECT_EQ(AlertLog().back().text, "Question?");
        EXPECT_EQ(AlertLog().back().caption, "");
    }
}

TEST_F(AlertTest, DisabledAlertsAnswerCancelWithoutShowing)
{
    pw::foundation::SetAlertsEnabled(false);
    EXPECT_EQ(Alert(2, 2, "Hidden"), Alert::kAnswerCancel);
    EXPECT_TRUE(AlertLog().empty());
}

TEST_F(AlertTest, TheReserveGivesWayWhileMemoryIsShortAndGrowsBack)
{
    using pw::platform::testing::SetAvailableVirtualMemory;
    EXPECT_EQ(Alert::ReserveSize(), 40000u);
    struct Case {
        const char* name;
        SIZE_T free;
        uint32_t reserveAfter;
    } cases[] = {
        { "plenty free keeps it", 1 << 20, 40000 },
        { "short: released, then rebuilt to what is free", 30000, 30000 },
        { "nothing free", 0, 0 },
        { "memory back: rebuilt in full", 1 << 20, 40000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetAvailableVirtualMemory(c.free);
        ScriptMessageBoxes({ IDOK });
        Alert(0, 0, "Low memory");
        EXPECT_EQ(Alert::ReserveSize(), c.reserveAfter);
    }
    SetAvailableVirtualMemory(std::nullopt);
}

} // namespace
