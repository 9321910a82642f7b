#include "Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace mirado {
namespace {

constexpr char kCodeContext[] = "mirado";
constexpr char kSkinContext[] = "skin";

struct Installed {
    std::unique_ptr<QTranslator> own;
    std::unique_ptr<QTranslator> qt;
};

Installed& installed()
{
    static Installed translators;
    return translators;
}

std::unique_ptr<QTranslator> loaded(const QLocale& locale, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

// A C or POSIX locale names no language; Qt would still look for "en" files under it.
bool namesALanguage(const QLocale& locale)
{
    return locale.language() != QLocale::C;
}

} // namespace

QString uiText(const QString& source)
{
    return QCoreApplication::translate(kCodeContext, source.toUtf8().constData());
}

QString skinText(const QString& source)
{
    return QCoreApplication::translate(kSkinContext, source.toUtf8().constData());
}

bool installTranslations(const QLocale& locale)
{
    Installed& current = installed();
    current.own.reset();
    current.qt.reset();
    // The translations are compiled in (translations/), so only the programs that embed them translate.
    if (namesALanguage(locale))
        current.own = loaded(locale, QStringLiteral("mirado"), QStringLiteral(":/mirado/i18n"));
    const bool english = current.own != nullptr;
    const QLocale qtLocale = english ? locale : QLocale(QLocale::Chinese, QLocale::China);
    current.qt = loaded(qtLocale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return english;
}

} // namespace mirado
