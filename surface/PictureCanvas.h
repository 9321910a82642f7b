#pragma once
// The picture the surface shows: decoded once, kept unmarked, and drawn fitted into a
// client-sized frame with black around it. A container picture's watermark is blended into it
// once, when it is loaded, so it looks the same however often the frame is redrawn.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <QImage>
#include <QSize>

#include "imaging/Rgb24Picture.h"
#include "imaging/WatermarkRenderer.h"

namespace mirado {

class PictureCanvas {
public:
    // A container's watermark: indices as its record keeps them; an empty text draws none.
    struct Watermark {
        std::u16string_view text;
        std::uint8_t position = 0;
        std::uint8_t colour = 0;
        std::uint8_t fontSize = 0;
    };

    // Both leave the canvas unchanged and return false when the picture cannot be decoded.
    bool loadFile(const std::filesystem::path& path);
    bool loadBuffer(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName, const Watermark& mark);

    // The frame for a client area; false (frame untouched) when nothing can be drawn there yet.
    bool compose(QSize client, QImage& frame);

private:
    void takeWatermark(const Watermark& mark);

    Rgb24Picture m_picture; // watermark included
    WatermarkRenderer m_renderer;
};

} // namespace mirado
