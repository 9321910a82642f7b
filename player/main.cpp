// The process entry: one application object, then the player program (player/PlayerProgram.h).
#include <QApplication>

#include "player/PlayerProgram.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return mirado::runPlayer(QApplication::arguments().mid(1));
}
