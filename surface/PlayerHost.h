#pragma once
// What the video surface and the full-screen play bar use of the main window. The main window
// implements it; the surface layer cannot see the player layer above it.
#include "ui/WinTypes.h"

class avplayer;
class CSliderUI;
class CVideoRealWnd;

class PlayerHost {
public:
    virtual HWND mainWindow() const = 0;
    virtual CVideoRealWnd* videoSurface() const = 0;  // null when it could not be created
    virtual avplayer& engine() = 0;
    virtual CSliderUI* volumeSlider() const = 0;      // null when the skin lacks it
    virtual CSliderUI* progressSlider() const = 0;
    virtual bool isShowingImage() const = 0;
    virtual void setSeeking(bool seeking) = 0;

    virtual void Stop() = 0;
    virtual void OnPlayButton() = 0;
    virtual void TogglePause() = 0;
    virtual void MuteOn() = 0;
    virtual void MuteOff() = 0;
    virtual void PlayPrevious() = 0;
    virtual void PlayNext() = 0;
    // The player's keys that the surface and the play bar pass on (seek, volume, mute, the
    // playlist...), repeated while held; false when the key is none of them.
    virtual bool handlePlayerKey(WPARAM key, bool repeated) = 0;
    // A turn of the mouse wheel over the video (Windows' units, 120 a notch): the volume follows it.
    virtual void turnVolumeByWheel(int delta) = 0;

protected:
    ~PlayerHost() = default;
};

// The one main window, set by the program's entry once it is constructed and cleared after the
// message loop; everything that uses it tests it for null first.
extern PlayerHost* g_pMainFrame;
