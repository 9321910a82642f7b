#pragma once
// What a window needs before the engine's video can appear in it.
class QWidget;

namespace mirado {

// True when the platform can show the engine's OpenGL video (not on "offscreen" or "minimal").
bool videoOutputAvailable();

// Call before the top-level window holding `host` is first shown. Qt gives a top-level window an
// OpenGL-capable native window only if an OpenGL widget lies in it when the native window is made;
// the first one to arrive later makes Qt destroy and remake the native window (a new X window, the
// maximised state lost, stale handles in everything that held the old one). A hidden placeholder in
// `host` settles the kind of window from the start.
void prepareVideoHost(QWidget* host);

}  // namespace mirado
