#pragma once

struct mpv_render_context;

namespace mirado {

// Draws mpv's current video frame into an OpenGL framebuffer of the given size in device pixels, the
// framebuffer's context being current; rows upwards, as OpenGL counts them.
void renderMpvFrame(mpv_render_context* context, int framebuffer, int width, int height);

}  // namespace mirado
