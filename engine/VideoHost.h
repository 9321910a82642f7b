#pragma once

namespace mirado {

// True when the platform can show the engine's OpenGL video (not on "offscreen" or "minimal").
bool videoOutputAvailable();

}  // namespace mirado
