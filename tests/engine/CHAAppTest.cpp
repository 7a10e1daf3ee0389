#include "engine/CHAApp.h"

#include "engine/CPanePlay.h"

#include "foundation/SystemErrorException.h"
#include "platform/kernel/KernelTesting.h"
#include "ui/FrameworkFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// An animation application that keeps its pages in "Projects" when asked to.
class PagesApp : public CHAApp {
public:
    explicit PagesApp(bool named)
        : CHAApp(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374))
        , named(named)
    {
    }
    void NewDocument() override { }
    SmartPtr<String> DocumentFolderName() override { return named ? new String("Projects") : nullptr; }

private:
    bool named;
};

class Animation : public uitest::FrameworkTest {
protected:
    static void PutPage(const char* name)
    {
        std::filesystem::path folder = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Projects";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name) << "page";
    }
};

} // namespace

// A linked page gets a name no page of the application's page folder has: the name itself, else
// the name with the first free number; without a page folder the name stays and the answer is
// false.
TEST_F(Animation, LinkedPagesGetNamesThatAreFreeInThePageFolder)
{
    SmartPtr<PagesApp> unnamed = new PagesApp(false);
    SmartPtr<PagesApp> pages = new PagesApp(true);
    String name("Page");
    EXPECT_FALSE(unnamed->LinkedFileName(name));
    EXPECT_FALSE(pages->LinkedFileName(name)) << "no folder yet";
    EXPECT_EQ(pw::foundation::TextOf(name), "Page");

    PutPage("Other.mvi");
    EXPECT_TRUE(pages->LinkedFileName(name));
    EXPECT_EQ(pw::foundation::TextOf(name), "Page");
    PutPage("Page.mvi");
    PutPage("page1.MVI");
    PutPage("Page2.txt");
    EXPECT_TRUE(pages->LinkedFileName(name));
    EXPECT_EQ(pw::foundation::TextOf(name), "Page2") << "taken names are compared without case; other types do not count";
}

// The application does not start without room for the memory budget.
TEST_F(Animation, TheApplicationRefusesToStartWithoutMemory)
{
    pw::platform::testing::SetAvailableVirtualMemory(512 * 1024);
    SmartPtr<Exception> caught;
    try {
        SmartPtr<PagesApp> refused = new PagesApp(false);
    } catch (Exception* exception) {
        caught = exception;
    }
    pw::platform::testing::SetAvailableVirtualMemory(std::nullopt);
    auto* system = dynamic_cast<SystemErrorException*>(caught.Get());
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetErrorCode(), uint32_t(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_NO_THROW(SmartPtr<PagesApp>(new PagesApp(false)));
}
