// The player's keys and the mouse wheel over the video. Each key runs the operation of the button or
// slider that does the same, so a key and a click can never differ. The keys reach the main window
// itself and, in full screen, the video surface and the play bar, which pass them on here. A text field
// with the focus takes its keys before any window sees them.
#include <QGuiApplication>

#include "player/CMainFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"

namespace {

constexpr double kSeekSeconds = 5;
constexpr double kFineSeekSeconds = 1;
constexpr int kVolumePoints = 5;
constexpr int kWheelNotch = 120;

}  // namespace

bool CMainFrame::handlePlayerKey(WPARAM key, bool repeated) { return runPlayerKey(key, repeated, false); }

bool CMainFrame::runPlayerKey(WPARAM key, bool repeated, bool onPlaylist) {
    // A WM_KEYDOWN carries no modifiers; the window system keeps them for the key being handled.
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool plain = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // Held down, seeking and the volume go on; every other key acts once per press.
    const auto once = [repeated](auto&& action) {
        if (!repeated) action();
        return true;
    };
    switch (key) {
    case VK_SPACE:
        return once([&] { TogglePause(); });
    case VK_RETURN:
        return once([&] {
            if (onPlaylist && m_playlist != nullptr && m_playlist->SelectedIndex() >= 0)
                PlaySelected();
            else
                TogglePause();
        });
    case VK_ESCAPE:
        return once([&] { toggleFullScreen(); });
    case VK_LEFT:
    case VK_RIGHT:
        seekBySeconds((key == VK_LEFT ? -1 : 1) * (shift ? kFineSeekSeconds : kSeekSeconds));
        return true;
    case VK_UP:
    case VK_DOWN:
        stepVolume(key == VK_UP ? kVolumePoints : -kVolumePoints);
        return true;
    case VK_PRIOR:
        return once([&] { PlayPrevious(); });
    case VK_NEXT:
        return once([&] { PlayNext(); });
    case VK_DELETE:
        return once([&] { RemoveSelected(); });
    case 'F':
        return plain && once([&] { toggleFullScreen(); });
    case 'M':
        return plain && once([&] { toggleMute(); });
    case 'O':
        return control && once([&] { AddFiles(); });
    default:
        return false;
    }
}

void CMainFrame::toggleFullScreen() {
    if (m_surface) m_surface->toggleFullScreen();
}

void CMainFrame::toggleMute() {
    if (m_engine.get_mute())
        MuteOff();
    else
        MuteOn();
}

void CMainFrame::seekBySeconds(double seconds) {
    if (!m_isShowingImage) m_engine.seek_by(seconds);
}

void CMainFrame::stepVolume(int points) {
    if (m_volumeSlider == nullptr) return;
    const int maximum = m_volumeSlider->GetMaxValue();
    if (maximum == 0) return;
    // In slider units, rounded away from zero so that a fine slider still moves.
    const int step = (points * maximum + (points > 0 ? 99 : -99)) / 100;
    m_volumeSlider->SetValue(m_volumeSlider->GetValue() + step);
    applyVolumeSlider();
}

void CMainFrame::turnVolumeByWheel(int delta) {
    // Fine wheels (touch pads) send parts of a notch: they add up to one.
    m_wheelRemainder += delta;
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) stepVolume(notches * kVolumePoints);
}
