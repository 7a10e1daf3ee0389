#include "engine/legacy/MacResources.h"

#include "foundation/Alert.h"
#include "foundation/FileReference.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

size_t Warnings()
{
    size_t count = 0;
    for (const auto& record : pw::platform::testing::AlertLog())
        count += record.text.rfind("Not implemented.", 0) == 0 ? 1 : 0;
    return count;
}

} // namespace

// Looking up a resource never finds one; it warns only while a resource file counts as open,
// which the last object made or destroyed decides.
TEST(MacResources, WarnOnlyWhileAFileIsOpen)
{
    Alert::EnableAlerts();
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK, IDOK, IDOK, IDOK, IDOK, IDOK, IDOK });
    EXPECT_FALSE(MacResources::GetResource(0x50494354, 128).Valid());
    EXPECT_EQ(Warnings(), 0u);
    {
        MacResources first { FileReference("c:\\old\\a.rsrc") };
        EXPECT_EQ(Warnings(), 1u);
        EXPECT_FALSE(MacResources::GetResource(0x50494354, 128).Valid());
        EXPECT_FALSE(MacResources::GetResource(0x736E6420, 1).Valid());
        EXPECT_EQ(Warnings(), 3u);
        {
            MacResources second { FileReference("c:\\old\\b.rsrc") };
        }
        EXPECT_EQ(Warnings(), 5u);
        MacResources::GetResource(0, 0);
        EXPECT_EQ(Warnings(), 5u);
    }
    EXPECT_EQ(Warnings(), 6u);
    MacResources::GetResource(0, 0);
    EXPECT_EQ(Warnings(), 6u);
    pw::foundation::SetAlertsEnabled(false);
}
