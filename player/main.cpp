// The process entry: the command line first, then one application object and the player program
// (player/PlayerProgram.h).
#include <QApplication>

#include "container/SecretMemory.h"
#include "player/PlayerOptions.h"
#include "player/PlayerProgram.h"

int main(int argc, char** argv) {
    // Deciphered pictures, keys and passwords live in this process's memory: no core file may hold them.
    mirado::disableCoreDumps();
    const mirado::PlayerOptions options = mirado::parsePlayerOptions(argc, argv);
    if (options.exitNow) return options.exitCode;
    // Qt sees only the program name: the words after it are ours (files), and Qt's own options would
    // take a file named like one. Qt is set up through its environment variables instead.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QStringList files;
    for (const std::string& file : options.files) files << QString::fromLocal8Bit(file);
    return mirado::runPlayer(files);
}
