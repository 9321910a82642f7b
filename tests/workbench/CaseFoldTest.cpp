#include "workbench/CaseFold.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

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
    EXPECT_LT(compareIgnoringCase("Ơa", "ơB"), 0);  // letters beyond Latin-1 fold before comparing
    EXPECT_GT(compareIgnoringCase("ǅb", "ǆA"), 0);
}

TEST(CaseFold, LettersBeyondTheCommonBlocksMatchAcrossCase) {
    EXPECT_TRUE(equalsIgnoringCase("ƠƯ", "ơư"));                   // Vietnamese horn letters
    EXPECT_TRUE(equalsIgnoringCase("PHỞ ĐƯỜNG", "phở đường"));
    EXPECT_TRUE(equalsIgnoringCase("Ə", "ə"));                     // Azerbaijani schwa
    EXPECT_TRUE(equalsIgnoringCase("Ǆ", "ǆ"));                     // digraph: upper, title and lower
    EXPECT_TRUE(equalsIgnoringCase("ǅ", "ǆ"));
    EXPECT_TRUE(equalsIgnoringCase("ἈΘῆΝΑΙ", "ἀθῆναι"));           // polytonic Greek
    EXPECT_TRUE(equalsIgnoringCase("Ὠιδή", "ὠιδή"));
    EXPECT_TRUE(equalsIgnoringCase("ᲤᲘᲚᲛᲘ", "ფილმი"));             // Georgian Mtavruli
    EXPECT_TRUE(equalsIgnoringCase("ႠႡ", "ⴀⴁ"));                   // Georgian Asomtavruli
    EXPECT_TRUE(equalsIgnoringCase("ꞋꞍ", "ꞌɥ"));                   // Latin Extended-D
    EXPECT_TRUE(equalsIgnoringCase("𐐀𐐁", "𐐨𐐩"));                 // Deseret, beyond the BMP
    EXPECT_TRUE(equalsIgnoringCase("ⰀⰁ", "ⰰⰱ"));                   // Glagolitic
    EXPECT_TRUE(equalsIgnoringCase("ꙀꙂ", "ꙁꙃ"));                   // Cyrillic Extended-B
    EXPECT_FALSE(equalsIgnoringCase("Ơ", "O"));
    EXPECT_FALSE(equalsIgnoringCase("ǆ", "dž"));                    // the digraph is not its two letters
}

// Unicode's own table (Debian's unicode-data) is the reference: every common and simple mapping of
// CaseFolding.txt must hold, and nothing else may fold.
TEST(CaseFold, AgreesWithUnicodeCaseFoldingTxt) {
    std::ifstream table("/usr/share/unicode/CaseFolding.txt");
    ASSERT_TRUE(table) << "install unicode-data (tools/deps.txt)";
    std::map<char32_t, char32_t> expected;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string code, status, mapping;
        std::getline(fields, code, ';');
        std::getline(fields, status, ';');
        std::getline(fields, mapping, ';');
        if (status != " C" && status != " S") continue;
        expected[char32_t(std::stoul(code, nullptr, 16))] = char32_t(std::stoul(mapping, nullptr, 16));
    }
    EXPECT_EQ(expected.size(), 1454u);
    int wrong = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const auto found = expected.find(c);
        const char32_t want = found == expected.end() ? c : found->second;
        if (foldCase(c) != want && ++wrong <= 10) {
            ADD_FAILURE() << std::hex << "U+" << unsigned(c) << " folds to U+" << unsigned(foldCase(c))
                          << ", Unicode says U+" << unsigned(want);
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace mirado
