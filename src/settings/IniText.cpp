#include "settings/IniText.h"

#include <QList>
#include <QStringDecoder>

namespace IniText {
namespace {

bool isBlank(QChar c) {
    return c.isSpace();
}

QStringView trimmed(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

bool quotedPair(QStringView s) {
    return s.size() >= 2 && isQuote(s.front()) && s.back() == s.front();
}

} // namespace

bool IsUtf16(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString Decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(bytes.sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(bytes.sliced(2));
    }
    QStringDecoder d(QStringDecoder::Utf8); // skips a leading UTF-8 mark
    return d(bytes);
}

Line ParseLine(QStringView raw) {
    Line out;
    const QStringView s = trimmed(raw);
    if (s.isEmpty() || s.front() == u';' || s.front() == u'#')
        return out;
    if (s.front() == u'[') {
        const qsizetype close = s.indexOf(u']');
        if (close < 0)
            return out;
        out.kind = Line::Section;
        out.name = trimmed(s.sliced(1, close - 1)).toString();
        return out;
    }
    const qsizetype eq = s.indexOf(u'=');
    if (eq <= 0)
        return out;
    const QStringView key = trimmed(s.first(eq));
    if (key.isEmpty())
        return out;
    QStringView value = trimmed(s.sliced(eq + 1));
    if (quotedPair(value))
        value = value.sliced(1, value.size() - 2);
    out.kind = Line::Entry;
    out.name = key.toString();
    out.value = value.toString();
    return out;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> Find(const QString& text, const QString& section, const QString& key) {
    // Only the first section of a name is searched, as the profile-string calls do.
    enum { Before, Inside, After } state = Before;
    for (QStringView raw : QStringView(text).split(u'\n')) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const Line line = ParseLine(raw);
        if (line.kind == Line::Section) {
            if (state == Inside)
                state = After;
            else if (state == Before && SameName(line.name, section))
                state = Inside;
            if (state == After)
                break;
        } else if (line.kind == Line::Entry && state == Inside && SameName(line.name, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

bool CanStore(const QString& value) {
    return !value.contains(u'\n') && !value.contains(u'\r') && !value.contains(QChar(0));
}

QString EncodeValue(const QString& value) {
    if (value.isEmpty())
        return value;
    // A reader drops outer blanks and one outer pair of quotes: protect both with one pair.
    if (isBlank(value.front()) || isBlank(value.back()) || quotedPair(value))
        return u'"' + value + u'"';
    return value;
}

} // namespace IniText
