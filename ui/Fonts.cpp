#include "ui/Fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// A family to ask for, and the file of it that the program may carry in
// the folder "fonts" beside its executable (the Windows folder has the two
// IPA gothics there; a Linux system has them from its own package).
struct Family {
    QString name;
    QString file = {};
};

// The families a file in the program's fonts folder adds, loaded once as
// application fonts; none when there is no such file.
QStringList carriedFamilies(const QString &file) {
    static QHash<QString, QStringList> loaded;
    const auto found = loaded.constFind(file);
    if (found != loaded.cend())
        return *found;
    const int id = QFontDatabase::addApplicationFont(QCoreApplication::applicationDirPath() +
                                                     u"/fonts/"_s + file);
    return loaded[file] = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

// Only the named families that are installed, in their order (all of them
// when none is). For a family that is missing Qt would search every
// installed font for a stand-in (fontconfig's FcFontSort) before it tries
// the next one named; the font database it asks here is set up for the
// first text anyway. A family the program carries is loaded from its file
// where none named up to it is installed.
//
// A family is looked up by any of the names the font database knows it by:
// fontconfig lists each family under its name in the user's language where
// the font has one (IPAPGothic is 「IPA Pゴシック」 under a Japanese locale)
// and knows its other names as aliases.
QStringList installedOf(const QList<Family> &families) {
    QStringList installed;
    QStringList named;
    for (const Family &family : families) {
        named.append(family.name);
        if (QFontDatabase::hasFamily(family.name))
            installed.append(family.name);
        else if (installed.isEmpty() && !family.file.isEmpty())
            installed.append(carriedFamilies(family.file));
    }
    return installed.isEmpty() ? named : installed;
}

QFont namedFont(const QList<Family> &families, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(installedOf(families));
    font.setPointSize(9);
    font.setWeight(QFont::Normal);
    font.setStyleHint(hint);
    return font;
}

} // namespace

QFont uiFont() {
    return namedFont(
        {{u"MS UI Gothic"_s}, {u"IPAPGothic"_s, u"ipagp.ttf"_s}, {u"Noto Sans CJK JP"_s}},
        QFont::SansSerif);
}

QFont monospaceFont() {
    return namedFont({{u"ＭＳ ゴシック"_s},
                      {u"MS Gothic"_s},
                      {u"IPAGothic"_s, u"ipag.ttf"_s},
                      {u"Noto Sans Mono CJK JP"_s}},
                     QFont::TypeWriter);
}

} // namespace morvex
