#include "foundation/Clipboard.h"
#include "foundation/ListData.h"
#include "foundation/Memory.h"
#include "foundation/String.h"
#include "foundation/SystemScrap.h"

#include "Failure.h"

#include "platform/user/clipboard/ClipboardTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pw::platform::testing;

std::string Text(const SmartPtr<Smart>& object)
{
    String* text = SmartCast<String>(object.Get());
    return text ? pw::foundation::TextOf(*text) : "<not a string>";
}

Smart* Own(String* text)
{
    return static_cast<Model*>(text);
}

// A picture as the graphics floor would make one: it remembers the size of the packed DIB it was
// made from.
class FakePicture : public SystemScrap, public SmartImplementation {
public:
    explicit FakePicture(uint32_t size)
        : size(size)
    {
    }
    const ClassInfo* GetClassInfo() const override { return &SmartImplementation::classInfo; }
    void* CastTo(const ClassInfo* info) override
    {
        return info == &SystemScrap::classInfo ? static_cast<SystemScrap*>(this) : SmartImplementation::CastTo(info);
    }
    bool CanCopyFrom(Smart*) override { return false; }
    void CopyFrom(Smart*) override { }
    Smart* Copy() const override { return nullptr; }
    ScrapTypeList GetTypes() override { return ScrapTypeList(); }
    Memory& GetData(uint32_t) override { return block; }

    uint32_t size;
    Memory block;
};

// A 1 x 1 one-bit packed DIB.
std::vector<uint8_t> SmallDib()
{
    std::vector<uint8_t> dib(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 4, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = header->biHeight = header->biPlanes = header->biBitCount = 1;
    return dib;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pw::foundation::ClipboardPictureImporter() = [](const void*, uint32_t size) -> Smart* { return new FakePicture(size); };
    }
    void TearDown() override
    {
        pw::foundation::ClipboardPictureImporter() = nullptr;
        EXPECT_FALSE(IsClipboardOpen());
    }

    // The system clipboard checked in once, then `object` put as the program's own contents.
    SmartPtr<Clipboard> Holding(Smart* object)
    {
        SmartPtr<Clipboard> clipboard(new Clipboard);
        clipboard->Contents();
        if (object)
            clipboard->Put(object);
        return clipboard;
    }
};

// Text goes out when the program is left, over whatever was there; pictures stay inside.
TEST_F(ClipboardTest, TextIsExportedAndPicturesStayInside)
{
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    SmartPtr<String> text(new String("copied"));
    SmartPtr<Clipboard> clipboard = Holding(Own(text.Get()));
    uint16_t references = text->ReferenceCount();
    clipboard->Put(Own(text.Get()));
    EXPECT_EQ(text->ReferenceCount(), references) << "putting the contents again changes nothing";
    clipboard->AppActivated(false);
    EXPECT_EQ(SystemClipboardText(), "copied");
    EXPECT_FALSE(SystemClipboardDib()) << "the system clipboard is emptied before the text goes out";

    SmartPtr<FakePicture> picture(new FakePicture(0));
    clipboard = Holding(static_cast<SystemScrap*>(picture.Get()));
    clipboard->AppActivated(false);
    clipboard->AppActivated(true);
    EXPECT_EQ(SystemClipboardText(), "copied");
    EXPECT_EQ(clipboard->Contents().Get(), static_cast<Smart*>(static_cast<SystemScrap*>(picture.Get())));
}

// The system clipboard is read at the first question, then only when another program changed it.
TEST_F(ClipboardTest, ActivationImportsOnlyRealChanges)
{
    ASSERT_TRUE(PutSystemClipboardText("at start-up"));
    EXPECT_EQ(Text(SmartPtr<Clipboard>(new Clipboard)->Contents()), "at start-up");

    SmartPtr<String> own(new String("own"));
    SmartPtr<Clipboard> clipboard = Holding(Own(own.Get()));
    clipboard->AppActivated(false);
    clipboard->AppActivated(true);
    EXPECT_EQ(clipboard->Contents().Get(), Own(own.Get()));

    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardText("from another program"));
    clipboard->AppActivated(true);
    EXPECT_EQ(Text(clipboard->Contents()), "from another program");

    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    clipboard->AppActivated(true);
    auto* picture = SmartCast<SystemScrap>(clipboard->Contents().Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(static_cast<FakePicture*>(picture)->size, SmallDib().size());

    clipboard->AppActivated(false);
    ASSERT_TRUE(EmptySystemClipboard());
    clipboard->AppActivated(true);
    EXPECT_FALSE(clipboard->Contents().Valid());
}

// A change made while the program was active but never looked at the clipboard still counts at
// the next activation, and no stale export hides it.
TEST_F(ClipboardTest, PendingImportIsNotForgottenAcrossActivations)
{
    SmartPtr<String> own(new String("own"));
    SmartPtr<Clipboard> clipboard = Holding(Own(own.Get()));
    clipboard->AppActivated(false);
    ASSERT_TRUE(PutSystemClipboardText("newer"));
    clipboard->AppActivated(true);
    clipboard->AppActivated(false);
    EXPECT_EQ(SystemClipboardText(), "newer");
    clipboard->AppActivated(true);
    EXPECT_EQ(Text(clipboard->Contents()), "newer");
}

TEST_F(ClipboardTest, UnreadablePicturesAreSkipped)
{
    pw::foundation::ClipboardPictureImporter() = [](const void*, uint32_t) -> Smart* { ThrowError("bad picture", PW_HERE); };
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    SmartPtr<Clipboard> clipboard(new Clipboard);
    EXPECT_EQ(Failure([&] { EXPECT_FALSE(clipboard->Contents().Valid()); }), "");
    pw::foundation::ClipboardPictureImporter() = nullptr;
    ASSERT_TRUE(PutSystemClipboardDib(SmallDib()));
    EXPECT_FALSE(SmartPtr<Clipboard>(new Clipboard)->Contents().Valid());
}

TEST_F(ClipboardTest, PasteIntoInsertsAListsItemsAndSwapExchangesContents)
{
    SmartPtr<ListData> copied(new ListData(&String::classInfo));
    copied->Append(Own(new String("one")));
    copied->Append(Own(new String("two")));
    SmartPtr<Clipboard> clipboard = Holding(copied.Get());
    SmartPtr<ListData> target(new ListData(&String::classInfo));
    target->Append(Own(new String("old")));
    EXPECT_TRUE(clipboard->PasteInto(target));
    ASSERT_EQ(target->NumItems(), 3u);
    EXPECT_EQ(Text(target->GetItem(1)) + Text(target->GetItem(2)) + Text(target->GetItem(3)), "onetwoold");
    clipboard->Put(Own(new String("single")));
    EXPECT_TRUE(clipboard->PasteInto(target));
    EXPECT_EQ(Text(target->GetItem(1)), "single");

    SmartPtr<Clipboard> empty = Holding(nullptr);
    clipboard->Swap(*empty.Get());
    EXPECT_FALSE(clipboard->Contents().Valid());
    EXPECT_EQ(Text(empty->Contents()), "single");
}

} // namespace
