#include "workbench/CaseFold.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <wctype.h>

namespace mirado {
namespace {

TEST(CaseFold, AsciiLettersMatchAcrossCaseAndNothingElseDoes) {
    EXPECT_TRUE(equalsIgnoringCase("MP4", "mp4"));
    EXPECT_TRUE(equalsIgnoringCase("Mp4", "mP4"));
    EXPECT_TRUE(equalsIgnoringCase("", ""));
    EXPECT_FALSE(equalsIgnoringCase("mp4", "mp3"));
    EXPECT_FALSE(equalsIgnoringCase("mp4", "mp"));
    EXPECT_FALSE(equalsIgnoringCase("mp", "mp4"));
    // '@' and '[' sit next to 'A' and 'Z'; '`' and '{' next to 'a' and 'z'.
    EXPECT_FALSE(equalsIgnoringCase("@", "`"));
    EXPECT_FALSE(equalsIgnoringCase("[", "{"));
}

TEST(CaseFold, LettersOfOtherScriptsMatchAcrossCase) {
    EXPECT_TRUE(equalsIgnoringCase("ÉTÉ", "été"));                 // Latin-1
    EXPECT_TRUE(equalsIgnoringCase("ŁÓDŹ", "łódź"));               // Latin Extended-A, odd and even pairs
    EXPECT_TRUE(equalsIgnoringCase("ŐŰ", "őű"));
    EXPECT_TRUE(equalsIgnoringCase("ΒΊΝΤΕΟ", "βίντεο"));           // Greek with tonos
    EXPECT_TRUE(equalsIgnoringCase("ΤΑΙΝΙΑΣ", "ταινιας"));
    EXPECT_TRUE(equalsIgnoringCase("ΤΑΙΝΙΑΣ", "ταινιαΣ"));
    EXPECT_TRUE(equalsIgnoringCase("ταινιας", "ταινιασ"));         // final sigma folds to sigma
    EXPECT_TRUE(equalsIgnoringCase("ВИДЕО ЁЖ", "видео ёж"));      // Cyrillic, with the Ѐ..Џ block
    EXPECT_TRUE(equalsIgnoringCase("ՖԻԼՄ", "ֆիլմ"));               // Armenian
    EXPECT_TRUE(equalsIgnoringCase("ＭＰ４", "ｍｐ４"));            // fullwidth Latin
    EXPECT_TRUE(equalsIgnoringCase("\u212A", "k"));                // Kelvin sign
    EXPECT_TRUE(equalsIgnoringCase("ẞ", "ß"));
    EXPECT_TRUE(equalsIgnoringCase("ẠỲ", "ạỳ"));                   // Latin Extended Additional
}

TEST(CaseFold, SimpleFoldingDoesNotExpandOrMergeDistinctLetters) {
    EXPECT_FALSE(equalsIgnoringCase("ß", "ss"));
    EXPECT_FALSE(equalsIgnoringCase("ı", "i"));   // dotless i
    EXPECT_FALSE(equalsIgnoringCase("é", "e"));
    EXPECT_FALSE(equalsIgnoringCase("视频", "視頻"));
    EXPECT_TRUE(equalsIgnoringCase("视频.MP4", "视频.mp4"));
}

TEST(CaseFold, MalformedBytesStandForThemselves) {
    EXPECT_TRUE(equalsIgnoringCase("a\xff", "A\xff"));
    EXPECT_FALSE(equalsIgnoringCase("\xff", "\xfe"));
    EXPECT_FALSE(equalsIgnoringCase("\xC3", "\xC3\xA9"));     // cut short vs whole
    EXPECT_FALSE(equalsIgnoringCase("\xC3\xA9", "\xC3\xC3")); // bad continuation
    EXPECT_FALSE(equalsIgnoringCase("\xC0\xAF", "/"));        // overlong form of "/"
    EXPECT_FALSE(equalsIgnoringCase("\xEF\xBF\xBD", "\xff")); // U+FFFD itself is not a malformed byte
}

TEST(CaseFold, OrderIgnoresCaseAndIsConsistent) {
    EXPECT_LT(compareIgnoringCase("apple", "Banana"), 0);
    EXPECT_GT(compareIgnoringCase("Banana", "apple"), 0);
    EXPECT_LT(compareIgnoringCase("b", "C"), 0);
    EXPECT_LT(compareIgnoringCase("trip", "TRIP2"), 0);
    EXPECT_GT(compareIgnoringCase("trip2", "TRIP"), 0);
    EXPECT_EQ(compareIgnoringCase("Éa", "éA"), 0);
    EXPECT_LT(compareIgnoringCase("z", "é"), 0);  // by code point after folding
}

// An independent check of the table: where the C library's Unicode lower-case mapping (in the C.UTF-8
// locale, named explicitly) turns an upper-case letter into one other letter, our folding must agree.
TEST(CaseFold, AgreesWithTheCLibraryOnTheCoveredScripts) {
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    if (utf8 == locale_t(0)) GTEST_SKIP() << "no C.UTF-8 locale";
    const std::pair<char32_t, char32_t> blocks[] = {
        {0x41, 0x5A},     {0xC0, 0xDE},     {0x100, 0x17F},   {0x386, 0x3AB},   {0x3D8, 0x3EF},
        {0x400, 0x52F},   {0x531, 0x556},   {0x1E00, 0x1E95}, {0x1EA0, 0x1EFF}, {0xFF21, 0xFF3A},
    };
    int checked = 0;
    for (auto [first, last] : blocks) {
        for (char32_t c = first; c <= last; ++c) {
            // İ lowers to i only with a combining dot; simple folding keeps it apart from i.
            if (c == 0x130) continue;
            const auto lower = char32_t(towlower_l(wint_t(c), utf8));
            if (lower == c) {
                EXPECT_EQ(towupper_l(wint_t(foldCase(c)), utf8), wint_t(towupper_l(wint_t(c), utf8)))
                    << std::hex << "U+" << unsigned(c);
                continue;
            }
            EXPECT_EQ(unsigned(foldCase(c)), unsigned(lower)) << std::hex << "U+" << unsigned(c);
            ++checked;
        }
    }
    freelocale(utf8);
    EXPECT_GT(checked, 400);  // the blocks were really walked
}

}  // namespace
}  // namespace mirado
