#include "FontSubstitution.h"

#include <QFont>

namespace mirado {

void installFontSubstitutions()
{
    static const bool done = [] {
        // "微软雅黑" (Microsoft YaHei) is not on Linux; WenQuanYi Micro Hei is close in style.
        QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei"));
        QFont::insertSubstitution(QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"));
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"));
        return true;
    }();
    (void)done;
}

} // namespace mirado
