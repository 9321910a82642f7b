#pragma once
// Drives a running player (started through mirado::runPlayer) as a newcomer does, step by step, from
// inside its message loop: real mouse and key input on real X11 windows, the real engine drawing
// with Mesa's software OpenGL. Each step records gtest failures; the session ends at the first fatal
// one and always closes the player.
#include <QRect>
#include <QString>

#include "JourneyMedia.h"
#include "ScreenColours.h"
#include "tests/player/main_window/MainWindowFixture.h"

class CMainFrame;
class CSystemInfoFrame;

namespace mirado::testing {

class NewcomerSession {
public:
    explicit NewcomerSession(const JourneyMedia& media) : media_(media) {}

    // Every step below in order, then the window's close button.
    void run();

    int passwordPromptsShown() const { return prompts_.asked; }

private:
    void waitForMainWindow();
    // The container named on the command line plays at once, once its prompt is answered.
    void playFromTheCommandLine();
    // Double-clicks the playlist row, answers the prompt with the password, waits for "正在播放".
    void playRow(int row, const QString& password);
    // The watermark's colour lies in `where` of the video (or of the whole screen in full screen).
    void expectWatermark(bool (*colour)(QRgb), Quarter where, const QString& shotName);
    void goFullScreenAndBack();
    void stop();
    void encipherFolderThroughSettings();
    void driveSettingsWindow(CSystemInfoFrame& settings);
    void addThroughDialog(const QString& path);
    void closePlayer();

    CMainFrame& frame() const;
    QRect surfaceOnScreen() const;
    QString statusText() const;
    // The engine's clock moves on (it is playing, not frozen or stopped).
    bool keepsPlaying() const;

    const JourneyMedia& media_;
    ServiceScope services_;
    PasswordPrompts prompts_;
};

}  // namespace mirado::testing
