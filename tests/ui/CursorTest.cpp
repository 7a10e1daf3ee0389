#include "ui/Cursor.h"

#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"

#include "FrameworkFixture.h"
#include "foundation/SystemErrorException.h"
#include "platform/backend/Backend.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using CursorTest = uitest::FrameworkTest;

// A cursor of the program from text art in the Data folder.
HCURSOR ProgramCursor(int id, const std::string& art)
{
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::ofstream(data / (std::to_string(id) + ".cur")) << art;
    return LoadCursorA(pw::platform::ProgramInstance(), MAKEINTRESOURCE(id));
}

// One row of the image: '#' black, '.' white, '?' anything else.
std::string Row(BitMap& image, int32_t v, int32_t width)
{
    uint32_t white = 0;
    uint32_t black = 0;
    image.GetColorTable()->Convert(Color(0), white);
    image.GetColorTable()->Convert(Color(1), black);
    std::string row;
    for (int32_t h = 0; h < width; ++h) {
        uint32_t value = image.GetPixelValue(h, v);
        row += value == black ? '#' : value == white ? '.' : '?';
    }
    return row;
}

} // namespace

// The image is the cursor's full 32 x 32 square, 1 bit deep: black and inverting pixels mark it,
// clear and white ones leave it white, as does everything outside the drawn art; the hot spot is
// the art's.
TEST_F(CursorTest, TheImageMarksWhatTheCursorDarkensAndKeepsItsHotSpot)
{
    HCURSOR handle = ProgramCursor(250, "; a ring with an inverted centre\nhotspot 3 1\n.##.\n#~o#\no##.\n");
    ASSERT_NE(handle, nullptr);
    SmartPtr<Cursor> cursor = new Cursor(handle);
    Point hotSpot(-1, -1);
    SmartPtr<BitMap> image = cursor->GetImage(hotSpot);
    EXPECT_EQ(hotSpot, Point(3, 1));
    EXPECT_EQ(image->GetBitDepth(), 1);
    EXPECT_EQ(image->GetBounds(), Rect(0, 0, 32, 32));
    const char* rows[] = { ".##..", "##.#.", ".##..", "....." };
    for (int32_t v = 0; v < 4; ++v) {
        SCOPED_TRACE(v);
        EXPECT_EQ(Row(*image.Get(), v, 5), rows[v]);
    }
    EXPECT_EQ(Row(*image.Get(), 31, 32), std::string(32, '.'));

    // Each query answers a picture of its own.
    Point again;
    SmartPtr<BitMap> second = cursor->GetImage(again);
    EXPECT_NE(second.Get(), image.Get());
    EXPECT_EQ(Row(*second.Get(), 1, 5), "##.#.");
}

// The system arrow has a picture too; a handle the platform never gave fails with the platform's
// error for it.
TEST_F(CursorTest, SystemCursorsAnswerAndUnknownHandlesFail)
{
    SmartPtr<Cursor> arrow = new Cursor(LoadCursorA(nullptr, IDC_ARROW));
    Point hotSpot(-1, -1);
    SmartPtr<BitMap> image = arrow->GetImage(hotSpot);
    EXPECT_TRUE(Rect(0, 0, 32, 32).Contains(hotSpot.h, hotSpot.v));
    std::string all;
    for (int32_t v = 0; v < 32; ++v)
        all += Row(*image.Get(), v, 32);
    EXPECT_NE(all.find('#'), std::string::npos) << "the arrow marks some pixels";
    EXPECT_EQ(all.find('?'), std::string::npos);

    SmartPtr<Cursor> stray = new Cursor(reinterpret_cast<HCURSOR>(uintptr_t(0x5ca1)));
    uint32_t code = 0;
    try {
        stray->GetImage(hotSpot);
    } catch (Exception* exception) {
        auto* system = dynamic_cast<SystemErrorException*>(exception);
        code = system ? system->GetErrorCode() : 1;
    }
    EXPECT_EQ(code, 1402u) << "an invalid cursor handle";
}
