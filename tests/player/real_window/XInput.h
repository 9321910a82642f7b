#pragma once
// Input as a hand gives it: the X server's own pointer and keyboard (XTest through xdotool), so that
// a window manager sees and takes the pointer as it would from a mouse. Each call runs while the
// event loop goes on, so the windows answer in real time.
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace mirado::testing::xinput {

// Runs xdotool with these arguments ("sleep" steps included); false when it fails.
bool run(const QStringList& arguments);
// At a point of the screen.
bool doubleClickAt(QPoint global);
bool clickAt(QPoint global);
// Presses at `from`, moves by `delta` in a few steps and releases.
bool dragBy(QPoint from, QPoint delta);
// A key by its X name ("Escape"), pressed and released.
bool key(const QString& name);
// Holds the key for `ms` milliseconds: the server's auto-repeat sends presses meanwhile.
bool holdKey(const QString& name, int ms);

// Types text key by key, as a hand would.
bool type(const QString& text);
// The window that has the X server's keyboard focus (0 when none can be read).
unsigned long focusedWindow();

// Where the X server holds a window, as xdotool reads it (empty when it cannot be read). For a child
// window xdotool counts the child's offset twice: compare readings with each other, not with places.
QRect windowGeometry(unsigned long windowId);
// The atoms of a window's _NET_WM_STATE, as xprop prints them.
QString windowState(unsigned long windowId);
// Whether a window manager runs on the display (_NET_SUPPORTING_WM_CHECK on the root window).
bool windowManagerRuns();

}  // namespace mirado::testing::xinput
