#pragma once
// The main window's traces, off unless asked for, e.g. with
// QT_LOGGING_RULES="mirado.player.*.debug=true": every notification it receives, and every row that
// joins the playlist.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlayerNotify)
Q_DECLARE_LOGGING_CATEGORY(lcPlayerPlaylist)
