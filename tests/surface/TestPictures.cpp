#include "TestPictures.h"

#include <cstdlib>

#include "container/ContainerReader.h"
#include "container/ContainerWriter.h"

namespace mirado::testing {

namespace fs = std::filesystem;

fs::path writeSolidPng(const fs::path& folder, const std::string& name, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const fs::path path = folder / name;
    if (!image.save(QString::fromStdString(path.string()), "PNG"))
        std::abort();
    return path;
}

DecipheredPicture encipherAndReadBack(const fs::path& source, const fs::path& folder, std::u16string_view watermark,
                                      std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize)
{
    ContainerKey key{};
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(0x41 + i);
    ContainerWriter writer;
    writer.configure(key, !watermark.empty(), watermark, position, colour, fontSize);
    if (!writer.encipherFile(source, folder))
        std::abort();
    ContainerReader reader;
    reader.setKey(key);
    if (!reader.open(folder / ContainerWriter::containerNameFor(source)))
        std::abort();
    DecipheredPicture picture{std::vector<std::uint8_t>(reader.records().front().payloadSize), reader.records().front()};
    std::int64_t read = 0;
    if (!reader.readWholePayload(picture.payload.data(), static_cast<std::int64_t>(picture.payload.size()), read))
        std::abort();
    return picture;
}

bool allOf(const QImage& image, const QRect& area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) > 3 || std::abs(c.green() - colour.green()) > 3
                || std::abs(c.blue() - colour.blue()) > 3)
                return false;
        }
    }
    return true;
}

PixelSpread spreadOf(const QImage& image, const QRect& area, bool (*test)(QColor))
{
    PixelSpread spread;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!test(image.pixelColor(x, y)))
                continue;
            ++spread.count;
            spread.box |= QRect(x, y, 1, 1);
        }
    }
    return spread;
}

bool isReddish(QColor c)
{
    return c.red() > c.green() + 40 && c.red() > c.blue() + 40;
}

} // namespace mirado::testing
