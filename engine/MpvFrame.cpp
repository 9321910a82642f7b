#include "MpvFrame.h"

#include <mpv/render_gl.h>

namespace mirado {

void renderMpvFrame(mpv_render_context* context, int framebuffer, int width, int height) {
    mpv_opengl_fbo fbo{framebuffer, width, height, 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(context, params);
}

}  // namespace mirado
