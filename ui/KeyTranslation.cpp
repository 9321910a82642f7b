#include "KeyTranslation.h"

#include <QKeyEvent>
#include <Qt>

namespace mirado {

WPARAM virtualKeyFor(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<WPARAM>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<WPARAM>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<WPARAM>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

namespace {

struct KeyRelease {
    quint32 scanCode = 0;
    quint64 time = 0;
};

// The last release of any window: a held key may move on to another window (full screen).
KeyRelease g_lastRelease;

} // namespace

void noteKeyRelease(const QKeyEvent& release)
{
    g_lastRelease = KeyRelease{release.nativeScanCode(), release.timestamp()};
}

bool isAutoRepeat(const QKeyEvent& press)
{
    // X sends a held key as pairs of release and press that carry one time stamp. Qt marks them as
    // repeated only when the press has already arrived as it reads the release, which it often has
    // not; no hand releases and presses a key within the same millisecond. Events made up by a
    // program have no scan code and are taken as they are.
    const bool pairedWithRelease = press.nativeScanCode() != 0 && press.nativeScanCode() == g_lastRelease.scanCode &&
                                   press.timestamp() == g_lastRelease.time;
    g_lastRelease = KeyRelease{};
    return press.isAutoRepeat() || pairedWithRelease;
}

} // namespace mirado
