#include "settings/IniDocument.h"

#include <QStringDecoder>
#include <algorithm>
#include <iterator>

namespace morvex::settings {
namespace {

const QByteArray ByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Backslash escapes: the letter after the backslash and the character it
// stands for. Reading knows them all; writing uses all but the last two.
constexpr char Escapes[][2] = {{'a', '\a'},  {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                               {'r', '\r'},  {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                               {'\\', '\\'}, {'?', '?'},  {'\'', '\''}};
constexpr auto WrittenEscapes = std::end(Escapes) - 2;

// The text of a value as it stands after the "=": quotes removed, escapes
// undone, blanks around it dropped unless quoted, an unquoted ";" starting a
// comment, and a leading "@@" standing for "@".
QString unescape(QByteArrayView raw) {
    QString out;
    qsizetype i = 0, keep = 0; // keep: what trailing blanks may not eat into
    bool inQuotes = false;
    while (i < raw.size() && isBlank(raw[i]))
        ++i;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[i + 1];
            i += 2;
            char16_t value = 0;
            if (e == 'x' || (e >= '0' && e <= '7')) {
                const int base = e == 'x' ? 16 : 8;
                if (e != 'x')
                    value = char16_t(e - '0');
                while (i < raw.size() && hexValue(raw[i]) >= 0 && hexValue(raw[i]) < base)
                    value = char16_t(value * base + hexValue(raw[i++]));
                out += QChar(value);
            } else {
                for (const auto &[name, character] : Escapes)
                    if (e == name)
                        out += QLatin1Char(character);
            }
            keep = out.size();
        } else if (c == '"') {
            inQuotes = !inQuotes;
            ++i;
            keep = out.size();
        } else if (c == ';' && !inQuotes) {
            break;
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ';')
                ++j;
            out += QString::fromUtf8(raw.sliced(i, j - i));
            i = j;
        }
    }
    qsizetype end = out.size();
    while (end > keep && (out[end - 1] == u' ' || out[end - 1] == u'\t'))
        --end;
    out.truncate(end);
    if (out.startsWith(u"@@"))
        out.remove(0, 1);
    else if (out.startsWith(u"@String(") && out.endsWith(u')'))
        out = out.sliced(8).chopped(1);
    return out;
}

QByteArray escape(const QString &value) {
    QString out;
    bool needsQuotes = false;
    bool hexFollows = false; // a hex digit after a numeric escape would join it
    for (QChar qc : value.startsWith(u'@') ? u'@' + value : value) {
        const char16_t c = qc.unicode();
        needsQuotes = needsQuotes || c == u';' || c == u',' || c == u'=';
        const auto *named = std::find_if(std::begin(Escapes), WrittenEscapes,
                                         [c](const char *e) { return e[1] == c; });
        const bool hexDigit = c < 0x80 && hexValue(char(c)) >= 0;
        if ((hexFollows && hexDigit) || (c < 0x20 && named == WrittenEscapes)) {
            out += QStringLiteral("\\x") + QString::number(c, 16);
            hexFollows = true;
            continue;
        }
        hexFollows = false;
        if (named != WrittenEscapes)
            out += u'\\';
        out += named != WrittenEscapes ? QChar(char16_t((*named)[0])) : qc;
    }
    if (needsQuotes || out.startsWith(u' ') || out.endsWith(u' '))
        out = u'"' + out + u'"';
    return out.toUtf8();
}

} // namespace

std::optional<IniDocument> IniDocument::parse(const QByteArray &input) {
    IniDocument document;
    QByteArray bytes = input;
    if (bytes.startsWith(ByteOrderMark)) {
        document.byteOrderMark_ = true;
        bytes.remove(0, ByteOrderMark.size());
    }
    // The decoder decodes only when its result becomes a string.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (text.contains(QChar::Null) || utf8.hasError())
        return std::nullopt;
    if (bytes.contains("\r\n"))
        document.lineEnd_ = "\r\n";
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the end of the last line
    QString section;
    for (QByteArray &text : lines) {
        if (text.endsWith('\r'))
            text.chop(1);
        const QByteArray trimmed = text.trimmed();
        Line line{text, section, {}, false};
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            if (close < 0)
                return std::nullopt;
            section = line.section = QString::fromUtf8(trimmed.sliced(1, close - 1));
            line.header = true;
        } else if (!trimmed.isEmpty() && !trimmed.startsWith(';') && !trimmed.startsWith('#')) {
            const qsizetype equals = text.indexOf('=');
            line.key = QString::fromUtf8(text.left(std::max<qsizetype>(equals, 0)).trimmed());
            if (line.key.isEmpty())
                return std::nullopt;
        }
        document.lines_.append(line);
    }
    return document;
}

Entries IniDocument::entries() const {
    Entries entries;
    for (const Line &line : lines_)
        if (!line.key.isEmpty())
            entries.append(
                {line.section, line.key,
                 unescape(QByteArrayView(line.text).sliced(line.text.indexOf('=') + 1))});
    return entries;
}

void IniDocument::set(const Entries &changes) {
    for (const Entry &entry : changes)
        setValue(entry.section, entry.key, entry.value);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value) {
    const Line line{key.toUtf8() + '=' + escape(value), section, key, false};
    qsizetype last = -1; // the last line that belongs to the section
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
        if (lines_[i].section != section)
            continue;
        if (!lines_[i].header && lines_[i].key == key) {
            lines_[i] = line; // the entry that counts is the last one
            return;
        }
        if (last < 0 && (lines_[i].header || !lines_[i].key.isEmpty()))
            last = i;
    }
    if (last >= 0) {
        lines_.insert(last + 1, line);
        return;
    }
    if (!lines_.isEmpty() && !lines_.last().text.trimmed().isEmpty())
        lines_.append({{}, lines_.last().section, {}, false});
    lines_.append({'[' + section.toUtf8() + ']', section, {}, true});
    lines_.append(line);
}

QByteArray IniDocument::bytes() const {
    QByteArray out = byteOrderMark_ ? ByteOrderMark : QByteArray();
    for (const Line &line : lines_)
        out += line.text + lineEnd_;
    return out;
}

} // namespace morvex::settings
