#include "authoring/dialogs/KidDialogs.h"

#include "foundation/FourCharCode.h"

#include <gtest/gtest.h>

using pw::foundation::FourCharCode;

TEST(KidDialogs, QuestionsAnswerAtOnceWithoutChangingTheProposal)
{
    for (const char* title : { "Insert Frames", "Stretch Motion", "Create Circular Motion" }) {
        int16_t value = 7;
        EXPECT_TRUE(KidDialogs::AskNumber(String(title), &value)) << title;
        EXPECT_EQ(value, 7) << title;
    }
    bool on[7] { true, false, true, false, true, false, true };
    int16_t samples = 33;
    EXPECT_FALSE(KidDialogs::AskInterpolation(&on[0], &on[1], &on[2], &on[3], &on[4], &on[5], &on[6], &samples));
    EXPECT_EQ(samples, 33);
    EXPECT_TRUE(on[0] && !on[1] && on[6]);
    for (const char* kind : { "text", "picture", "object" })
        EXPECT_FALSE(KidDialogs::AskResourceKind(String(kind))) << kind;
}

TEST(KidDialogs, ASpriteIsMadeAsAPicture)
{
    const struct { char given[5]; char expected[5]; } cases[] {
        { "SPRT", "PICT" }, { "PICT", "PICT" }, { "TEXT", "TEXT" }, { "sprt", "sprt" } };
    for (auto& c : cases) {
        uint32_t code = FourCharCode(c.given);
        EXPECT_TRUE(KidDialogs::AskObjectKind(&code));
        EXPECT_EQ(code, FourCharCode(c.expected)) << c.given;
    }
}
