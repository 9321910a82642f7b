#include "PlaybackTimeText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace mirado {

QString playbackTimeText(double seconds) {
    // Converting a negative, undefined or huge double to an integer is undefined: clamp first.
    constexpr double kLargest = 4294967295.0;
    const std::uint32_t s = std::isnan(seconds) || seconds <= 0 ? 0u
                            : seconds >= kLargest             ? std::uint32_t(kLargest)
                                                              : std::uint32_t(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", s / 3600, (s % 3600) / 60, s % 60);
    return QString::fromLatin1(text);
}

}  // namespace mirado
