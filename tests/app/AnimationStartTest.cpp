#include "app/AnimationStart.h"

#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"

#include "platform/kernel/KernelTestSupport.h"
#include "platform/testing/TestDriver.h"
#include "ui/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using pw::platform::testing::AlertLog;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::ScriptMessageBoxes;

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// The animation application as start-up makes it, over the main window, without its first page.
class AnimationStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InstallPalette();
        Alert::EnableAlerts();
        HWND mainWindow = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        ASSERT_TRUE(AppGlue::InitApplication(&pw::app::MakeAnimationApp, &pw::ui::ProgramRecord()));
        app = CHAApp::Get();
        ASSERT_NE(app, nullptr);
    }

    void TearDown() override { pw::foundation::SetAlertsEnabled(false); }

    // A new page as saved, its header's root id at bytes 21 to 24.
    std::string SavedPage()
    {
        SmartPtr<MemoryStream> stream = new MemoryStream;
        SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(app->MakeModel().Get());
        std::string bytes(stream->GetLength(), '\0');
        stream->Seek(0, Stream::kFromStart);
        stream->Read(bytes.data(), uint32_t(bytes.size()));
        return bytes;
    }

    CHAApp* app { nullptr };
};

// A damaged header may name any stored object as the root (id 0: the last one). Whichever way the
// application opens a page, an object that is no page gives the corrupt-file message and opens
// nothing; the page itself opens without a word.
TEST_F(AnimationStart, AFileWhoseRootIsNoPageOpensNothing)
{
    const struct {
        const char* name;
        uint8_t rootId;
        bool opens;
    } cases[] = { { "the page as saved", 1, true }, { "root id 0", 0, false }, { "root id 2", 2, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = SavedPage();
        ASSERT_EQ(bytes.substr(21, 4), std::string("\1\0\0\0", 4));
        bytes[21] = static_cast<char>(c.rootId);
        MakeHostFile("plume/Projects/page.mvi", bytes);
        SmartPtr<FileReference> file = new FileReference("c:\\plume\\Projects\\page.mvi");
        std::vector<std::string> expected;
        if (!c.opens)
            expected = { kCorrupt, kCorrupt };

        ScriptMessageBoxes({ IDOK, IDOK });
        size_t alerts = AlertLog().size();
        uint32_t windows = app->NumWindows();
        app->OpenDocument(file, false, false);
        EXPECT_EQ(app->NumWindows(), windows + (c.opens ? 1 : 0));
        EXPECT_EQ(app->OpenIntoActivePane(*file.Get()).Valid(), c.opens);
        std::vector<std::string> shown;
        for (size_t n = alerts; n < AlertLog().size(); ++n)
            shown.push_back(AlertLog()[n].text.substr(0, AlertLog()[n].text.find('\r')));
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
