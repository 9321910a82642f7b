// The process entry: one application object, then the player program (player/PlayerProgram.h).
#include <QApplication>

#include "container/SecretMemory.h"
#include "player/PlayerProgram.h"

int main(int argc, char** argv) {
    // Deciphered pictures, keys and passwords live in this process's memory: no core file may hold them.
    mirado::disableCoreDumps();
    QApplication application(argc, argv);
    return mirado::runPlayer(QApplication::arguments().mid(1));
}
