#pragma once
// Playback times as the player shows them: hours, minutes and seconds, "%02d:%02d:%02d", with as many
// hour digits as needed.
#include <QString>

namespace mirado {

// Seconds are truncated toward zero; negative or undefined times show as 00:00:00.
QString playbackTimeText(double seconds);

}  // namespace mirado
