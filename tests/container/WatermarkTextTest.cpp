#include <gtest/gtest.h>

#include "container/ContainerInfoRecord.h"
#include "container/WatermarkText.h"

namespace mirado {
namespace {

TEST(WatermarkText, ControlCharactersBecomeSpacesAndLineBreaksStay) {
    EXPECT_EQ(watermarkTextForRecord(u"a\tb\x1b[1m\x7f\u0085c"), u"a b [1m  c");
    EXPECT_EQ(watermarkTextForRecord(u"one\r\ntwo\rthree\nfour"), u"one\ntwo\nthree\nfour");
    EXPECT_EQ(watermarkTextForRecord(u"© Anna 2014 家"), u"© Anna 2014 家");
    EXPECT_EQ(watermarkTextForRecord(u""), u"");
}

TEST(WatermarkText, EveryControlCharacterButLineBreaksBecomesASpace) {
    for (char16_t c = 1; c < 0xA0; ++c) {
        if (c == u'\n' || c == u'\r' || (c >= 0x20 && c < 0x7F)) continue;
        const std::u16string text{u'A', c, u'B'};
        EXPECT_EQ(watermarkTextForRecord(text), u"A B") << "U+" << std::hex << int(c);
    }
    // What the video's drawing filter may treat specially stays as typed.
    EXPECT_EQ(watermarkTextForRecord(u"%{pts} \\ : ' { }"), u"%{pts} \\ : ' { }");
}

// 40 emoji are 80 units; the record holds 63, so 31 whole emoji and never half of the 32nd.
TEST(WatermarkText, TheCutToTheRecordNeverSplitsASurrogatePair) {
    std::u16string emoji;
    for (int i = 0; i < 40; ++i) emoji += u"\U0001F600";
    const std::u16string stored = watermarkTextForRecord(emoji);
    EXPECT_EQ(stored.size(), 62u);
    EXPECT_EQ(stored, emoji.substr(0, 62));
    const std::u16string shifted = watermarkTextForRecord(u"x" + emoji);
    EXPECT_EQ(shifted.size(), 63u);
    EXPECT_EQ(shifted, (u"x" + emoji).substr(0, 63));
    // What the record then reads back is exactly what was stored.
    ContainerInfoRecord record;
    record.watermarkText = stored;
    EXPECT_EQ(ContainerInfoRecord::fromBytes(record.toBytes().data()).watermarkText, stored);
}

TEST(WatermarkText, LoneSurrogatesBecomeTheReplacementCharacterButAHalfPairAtTheEndIsDropped) {
    EXPECT_EQ(watermarkTextForRecord(std::u16string(u"a") + char16_t(0xD83D) + u"b" + char16_t(0xDE00)),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(watermarkTextForRecord(std::u16string(u"ab") + char16_t(0xD83D)), u"ab");
}

}  // namespace
}  // namespace mirado
