// A newcomer's first session with the real program: mirado-pack enciphers a video, the player starts
// through its entry with that container on its command line and plays it at once once the password is
// typed into the prompt; the video plays with its watermark, goes to full screen and back and stops; then a folder is
// enciphered through the settings window and one of its new containers plays.
#include <gtest/gtest.h>

#include <QTimer>

#include "JourneyMedia.h"
#include "NewcomerSession.h"
#include "player/PlayerProgram.h"
#include "ui/WindowApi.h"

namespace mirado::testing {
namespace {

TEST(NewcomerJourney, FromTheCommandLineThroughThePromptFullScreenAndTheSettingsWindow) {
    JourneyMedia media;
    ASSERT_TRUE(media.make());

    NewcomerSession session(media);
    QTimer::singleShot(0, [&] { session.run(); });
    // A step that hangs (a window that never closes) must not hang the test run.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the session did not end in time";
        PostQuitMessage(1);
    });
    watchdog.start(150000);

    EXPECT_EQ(runPlayer({media.packedVideo()}), 0);
    EXPECT_EQ(session.passwordPromptsShown(), 2);
    EXPECT_EQ(g_pMainFrame, nullptr);
}

}  // namespace
}  // namespace mirado::testing
