// The installed program's command line: help and version print and end without a display, usage
// errors go to stderr.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "tests/support/RunProcess.h"
#include "tests/support/TempDir.h"

namespace mirado::testing {
namespace {

// No display to open: a start that tried to open a window would fail here.
class PlayerCommandLine : public ::testing::Test {
protected:
    // The starts that do try a window abort; they leave no core file behind.
    static void SetUpTestSuite() {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_CORE, &none);
    }
    ProcessResult run(const std::vector<std::string>& arguments) {
        return runProcess(MIRADO_PLAYER_EXE, arguments,
                          {"QT_QPA_PLATFORM=xcb", "DISPLAY=:none", "WAYLAND_DISPLAY=",
                           "XDG_RUNTIME_DIR=" + runtime.path().string()});
    }
    TempDir runtime;
};

TEST_F(PlayerCommandLine, WithoutADisplayAPlainStartFails) {
    // The check the other cases rely on: here a window cannot open.
    EXPECT_NE(run({}).exitCode, 0);
}

TEST_F(PlayerCommandLine, HelpPrintsTheUsageAndEndsWithZero) {
    for (const std::string option : {"--help", "-h"}) {
        const ProcessResult result = run({option});
        EXPECT_EQ(result.exitCode, 0) << option;
        EXPECT_EQ(result.out.rfind("Usage: mirado-player [OPTION]... [FILE]...\n", 0), 0u) << result.out;
        EXPECT_NE(result.out.find("--version"), std::string::npos);
        EXPECT_EQ(result.err, "") << option;
    }
}

TEST_F(PlayerCommandLine, VersionPrintsTheVersionAndEndsWithZero) {
    const ProcessResult result = run({"some.mp4", "--version"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, std::string("mirado-player ") + MIRADO_VERSION + "\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(PlayerCommandLine, UsageErrorsGoToStderrWithExitTwo) {
    const ProcessResult result = run({"--bogus"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("'--bogus'"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("mirado-player --help"), std::string::npos) << result.err;
}

TEST_F(PlayerCommandLine, AfterDoubleDashHelpIsAFileName) {
    // Taken as a file, "--help" leaves the start to open a window, which fails here.
    const ProcessResult result = run({"--", "--help"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out.find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace mirado::testing
