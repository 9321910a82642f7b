#pragma once
// For the README's screenshots, made under Xvfb: what the screen shows, and the open password prompt.
#include <QRect>
#include <QString>

class CMainFrame;
class CPasswordFrame;

namespace mirado::testing {

// Saves what the screen shows inside area as a PNG and says so on standard output (the video is
// drawn with OpenGL, so the screen is read rather than the widgets).
bool saveScreen(const QRect& area, const QString& file);
// Creates the main window at (40, 40), 960 by 640, as g_pMainFrame, and waits until it is on screen.
bool showMainWindow(CMainFrame& frame);
// The password prompt on screen, or null.
CPasswordFrame* openPasswordPrompt();

}  // namespace mirado::testing
