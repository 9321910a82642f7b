#pragma once
// The player program apart from the process entry, so that a test can start it as a person does.
#include <QStringList>

namespace mirado {

// Runs the player inside the application object that already exists. The words of the command line
// that name existing files go to a player this user already runs (then it returns 0 at once), or
// into the playlist of a new main window, which runs until it is closed. Returns the exit code.
int runPlayer(const QStringList& arguments);

}  // namespace mirado
