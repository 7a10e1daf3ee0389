// The ground of the application class's tests: the program's application made as its factory
// makes it (silent options, the editing pane as the pages' view), with the kid tools' pictures in
// "Data" and an empty "Projects" folder, and everything put back afterwards.
#pragma once

#include "app/PageScribes.h"
#include "app/TallowApp.h"
#include "app/TallowResources.h"
#include "authoring/panes/CHAPane.h"
#include "engine/CShow.h"

#include "authoring/AuthoringFixture.h"
#include "platform/kernel/KernelTestSupport.h"

#include <filesystem>

namespace apptest {

namespace driver = pw::platform::testing;

class TallowAppTest : public authoring::AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        pw::app::testing::ResetTallowResources();
        pw::app::testing::ForgetScribeFolder();
        // The kid tools window's paint palette and the selection tool's options.
        PutPicture(30, authoring::Plain('w', 50, 75));
        PutPicture(31, authoring::Plain('y', 50, 75));
        PutPicture(2040, authoring::Plain('w', 70, 70));
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        driver::MakeHostFolder("plume/Projects");
        options = CHAApp::GetOptions();
        CHAApp::GetOptions() = CHAApp::Options { 1, 8, CHAApp::kNoSoundsBit | 0x04 };
        CShow::SetViewMaker(&CHAPane::Make);
        tallow = new TallowApp;
    }
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        tallow = nullptr;
        // The children's application keeps its tools window in a class-wide handle; a new one
        // without tools lets it go while the platform is still up.
        SmartPtr<CTumblerApp>(new CTumblerApp(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374), nullptr));
        CHAApp::GetOptions() = options;
        FileReference startup = FileReference::StartupFolder();
        FileReference::SetAsCurrentDirectory(startup);
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        pw::app::testing::ResetTallowResources();
        AuthoringTest::TearDown();
    }

    SmartPtr<TallowApp> tallow;
    CHAApp::Options options;
};

} // namespace apptest
