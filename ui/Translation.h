#pragma once
// The window language. Every text of the windows is written in Chinese (skins, messages, status
// texts); under an English locale a compiled-in Qt Linguist translation turns it into English. A
// Chinese, C or any other locale keeps the Chinese texts. Qt's own dialogs and buttons follow the
// same language.
#include <QLocale>
#include <QString>

namespace mirado {

// The text in the window language: its translation when one is installed, else the text itself.
// Texts the code writes (messages, status texts) and texts of the skin files are kept apart, as
// one word may need two translations ("停止": the button says "Stop", the status "Stopped").
QString uiText(const QString& source);
QString skinText(const QString& source);

// Installs Mirado's and Qt's translations for the locale (the default locale, normally the
// system's), replacing those an earlier call installed. True when the windows speak English.
bool installTranslations(const QLocale& locale = QLocale());

} // namespace mirado
