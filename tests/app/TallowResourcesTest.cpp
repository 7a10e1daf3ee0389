#include "app/TallowResources.h"

#include "authoring/AuthoringFixture.h"
#include "foundation/Failure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

class TallowResourcesTest : public authoring::AuthoringTest {
protected:
    void SetUp() override
    {
        authoring::AuthoringTest::SetUp();
        pw::app::testing::ResetTallowResources();
    }
    void TearDown() override
    {
        pw::app::testing::ResetTallowResources();
        authoring::AuthoringTest::TearDown();
    }

    static std::string Text(int32_t number, const char* arg1 = nullptr)
    {
        return pw::foundation::TextOf(TallowResources::GetString(number, arg1));
    }

    // A picture that tells itself apart by its size: `number` - 500 pixels wide, one high.
    static void PutSizedPicture(int number) { PutPicture(number, std::string(size_t(number - 500), 'w')); }
};

TEST_F(TallowResourcesTest, StringsComeFromTheApplicationRangeWithArgumentsFilledIn)
{
    const struct {
        int32_t number;
        const char* arg;
        std::string text;
    } cases[] = {
        { 0, nullptr, "Projects" },
        { 5, nullptr, "HTML" },
        { 11, nullptr, "index" },
        { 61, nullptr,
            "Invalid Characters in Name! Please make sure you use only alpha-numeric characters (a-z, 0-9, A-Z).\n"
            " Do not use  '/', '\\', '*', '|', '.', a space or other similar special characters." },
        { 25, "My Site",
            "Congratulations! Your site has been updated.  You can now use your Web browser to look at \"My Site\" ." },
        { 19, nullptr, "<BODY BGCOLOR=\"#ffffff\"><CENTER>" },
        { 21, nullptr, "</ADDRESS> <HR></BODY>" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(Text(c.number, c.arg), c.text);
    }
    EXPECT_EQ(Text(20).rfind("<HR><ADDRESS><CENTER> Created with Plumewright(TM) - <A HREF=\"mailto:", 0), 0u);
    EXPECT_EQ(Failure([] { Text(3); }), "String Resource Missing 1003");
}

// A caller's buffer is never written past its size: the text is cut and terminated inside it.
TEST_F(TallowResourcesTest, AStringIntoABufferStaysInsideTheBuffer)
{
    const struct {
        size_t size;
        std::string text;
    } cases[] = { { 9, "Projects" }, { 6, "Proje" }, { 1, "" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        TallowResources::GetString(buffer, c.size, 0);
        EXPECT_EQ(std::string(buffer), c.text);
        EXPECT_EQ(std::string(buffer + c.size, buffer + 16), std::string(16 - c.size, '#'));
    }
}

TEST_F(TallowResourcesTest, ButtonGridsLayOutTheTabSetsAndTheSelector)
{
    for (int number : { 501, 502, 511, 512, 521, 522, 531, 532, 541, 542, 551, 552 })
        PutSizedPicture(number);
    const struct {
        int16_t palette;
        int16_t rows, columns, width, height;
        int normal;
    } cases[] = {
        { 400, 1, 5, 86, 50, 511 },
        { 401, 1, 5, 86, 50, 521 },
        { 402, 1, 5, 86, 50, 531 },
        { 403, 1, 5, 86, 50, 541 },
        { 404, 1, 5, 86, 50, 501 },
        { 405, 5, 1, 133, 78, 551 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.palette);
        std::unique_ptr<ButtonGrid> grid = TallowResources::MakeButtonGrid(c.palette);
        EXPECT_EQ(grid->rows, c.rows);
        EXPECT_EQ(grid->columns, c.columns);
        EXPECT_EQ(grid->cellWidth, c.width);
        EXPECT_EQ(grid->cellHeight, c.height);
        ASSERT_TRUE(grid->normalPicture.Valid() && grid->selectedPicture.Valid());
        EXPECT_EQ(grid->normalPicture->GetSize().h, c.normal - 500);
        EXPECT_EQ(grid->selectedPicture->GetSize().h, c.normal + 1 - 500);
        EXPECT_FALSE(grid->disabledPicture.Valid());
        // The set caches one handle per picture number.
        EXPECT_EQ(grid->normalPicture.Get(), TallowResources::GetImageResource(int16_t(c.normal)).Get());
    }
    for (int16_t outside : { 399, 406, 201 }) {
        SCOPED_TRACE(outside);
        EXPECT_EQ(Failure([&] { TallowResources::MakeButtonGrid(outside); }), "false");
    }
}

} // namespace
