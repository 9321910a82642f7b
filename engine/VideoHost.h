#pragma once
// Whether the engine's video can appear on this platform at all.

namespace mirado {

// True when the platform can show the engine's OpenGL video (not on "offscreen" or "minimal").
bool videoOutputAvailable();

}  // namespace mirado
