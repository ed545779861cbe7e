#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace morvex {
namespace {

// Only the named families that are installed, in their order (all of them
// when none is). For a family that is missing Qt would search every
// installed font for a stand-in (fontconfig's FcFontSort) before it tries
// the next one named; the font database it asks here is set up for the
// first text anyway.
QStringList installedOf(const QStringList &families) {
    const QStringList present = QFontDatabase::families();
    QStringList installed;
    for (const QString &family : families)
        if (present.contains(family, Qt::CaseInsensitive))
            installed.append(family);
    return installed.isEmpty() ? families : installed;
}

QFont namedFont(const QStringList &families, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(installedOf(families));
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
