// Takes the window language from the system locale as the player does and prints what the windows
// would show: a skin text, a message caption and the Cancel button of Qt's own dialogs, separated
// by "|". SystemLocaleTest runs it under chosen LANG values.
#include <cstdio>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/Translation.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    mirado::installTranslations();
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    std::printf("%s|%s|%s\n", qPrintable(mirado::skinText(QStringLiteral("播放"))),
                qPrintable(mirado::uiText(QStringLiteral("提示"))),
                qPrintable(buttons.button(QDialogButtonBox::Cancel)->text()));
    return 0;
}
