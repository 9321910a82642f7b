#pragma once
// Pictures for the surface's tests: plain files of one colour, and the same deciphered from a
// real container the way playback control hands them over.
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "container/ContainerInfoRecord.h"

namespace mirado::testing {

std::filesystem::path writeSolidPng(const std::filesystem::path& folder, const std::string& name, int width, int height,
                                    QColor colour);

struct DecipheredPicture {
    std::vector<std::uint8_t> payload;
    ContainerInfoRecord record;
};

// Enciphers `source` into a container in `folder` and reads its payload back under the same key.
DecipheredPicture encipherAndReadBack(const std::filesystem::path& source, const std::filesystem::path& folder,
                                      std::u16string_view watermark, std::uint8_t position, std::uint8_t colour,
                                      std::uint8_t fontSize);

// Whether every pixel of `area` in `image` is within a few levels of `colour`.
bool allOf(const QImage& image, const QRect& area, QColor colour);
// The bounding box of the pixels of `area` for which `test` holds, and how many there are.
struct PixelSpread {
    int count = 0;
    QRect box;
};
PixelSpread spreadOf(const QImage& image, const QRect& area, bool (*test)(QColor));

bool isReddish(QColor c);

} // namespace mirado::testing
