#include "ui/Fonts.h"

#include <QStringList>

namespace morvex {
namespace {

QFont namedFont(const QStringList &families, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setStyleHint(hint);
    return font;
}

} // namespace

QFont uiFont() {
    return namedFont({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP")},
                     QFont::SansSerif);
}

QFont monospaceFont() {
    return namedFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")},
                     QFont::TypeWriter);
}

} // namespace morvex
