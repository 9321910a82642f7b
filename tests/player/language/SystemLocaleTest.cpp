// The language comes from the system locale: English under an English LANG, the windows' own
// Chinese under a Chinese, C or unknown one, and Qt's own buttons speak the same language.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/RunProcess.h"

namespace mirado::testing {
namespace {

std::string probeUnder(const std::string& lang, const std::string& language = std::string()) {
    // The harness sets LC_ALL for tests; the child sees only what is given here. Empty variables
    // count as unset.
    const ProcessResult result = runProcess(MIRADO_LANGUAGE_PROBE, {},
        {"LANG=" + lang, "LC_ALL=", "LC_MESSAGES=", "LANGUAGE=" + language, "QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

TEST(SystemLocale, EnglishLocaleShowsEnglish) {
    EXPECT_EQ(probeUnder("en_US.UTF-8"), "Play|Information|Cancel\n");
    EXPECT_EQ(probeUnder("en_GB.UTF-8"), "Play|Information|Cancel\n");
}

TEST(SystemLocale, ChineseCAndUnknownLocalesKeepChinese) {
    for (const char* lang : {"zh_CN.UTF-8", "C", "C.UTF-8", "POSIX", "de_DE.UTF-8", ""})
        EXPECT_EQ(probeUnder(lang), "播放|提示|取消\n") << "LANG=" << lang;
}

TEST(SystemLocale, LanguagePreferenceListIsHonoured) {
    // LANGUAGE lists the languages a person reads, first choice first.
    EXPECT_EQ(probeUnder("zh_CN.UTF-8", "en_US:zh_CN"), "Play|Information|Cancel\n");
}

}  // namespace
}  // namespace mirado::testing
