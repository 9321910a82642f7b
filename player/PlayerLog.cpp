#include "PlayerLog.h"

Q_LOGGING_CATEGORY(lcPlayerNotify, "mirado.player.notify", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlayerPlaylist, "mirado.player.playlist", QtInfoMsg)
