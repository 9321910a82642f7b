#include "container/WatermarkText.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

TEST(WatermarkText, EveryControlCharacterButLineBreaksBecomesASpace) {
    for (char16_t c = 1; c < 0xA0; ++c) {
        if (c == u'\n' || c == u'\r' || (c >= 0x20 && c < 0x7F)) continue;
        const std::u16string text{u'A', c, u'B'};
        EXPECT_EQ(watermarkTextAsShown(text), u"A B") << "U+" << std::hex << int(c);
    }
    // What a drawing filter may treat specially stays as typed; so does any other character.
    EXPECT_EQ(watermarkTextAsShown(u"%{pts} \\ : ' é 水印 \u00A0"), u"%{pts} \\ : ' é 水印 \u00A0");
}

TEST(WatermarkText, LineBreaksOfEveryKindBecomeOneLineFeed) {
    EXPECT_EQ(watermarkTextAsShown(u"a\r\nb\rc\nd\n\re"), u"a\nb\nc\nd\n\ne");
    EXPECT_EQ(watermarkTextAsShown(u"\r"), u"\n");
    EXPECT_EQ(watermarkTextAsShown(u"end\r"), u"end\n");
}

TEST(WatermarkText, EndsAtTheFirstZero) {
    EXPECT_EQ(watermarkTextAsShown(std::u16string_view(u"ab\0cd", 5)), u"ab");
    EXPECT_EQ(watermarkTextAsShown(u""), u"");
}

}  // namespace
}  // namespace mirado
