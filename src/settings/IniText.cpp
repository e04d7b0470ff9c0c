#include "settings/IniText.h"

#include <QStringDecoder>

#include <vector>

namespace IniText {
namespace {

bool isBlank(QChar c) {
    return c.isSpace() || c == QChar(0xFEFF);
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

struct RawLine {
    QByteArrayView body;
    QByteArrayView end;
};

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

} // namespace

Utf8File ToUtf8(const QByteArray& bytes) {
    const auto utf16 = [&](QStringConverter::Encoding e) {
        QStringDecoder d(e, QStringConverter::Flag::Stateless);
        return Utf8File{{}, QString(d(QByteArrayView(bytes).sliced(2))).toUtf8(), true};
    };
    if (bytes.startsWith("\xFF\xFE"))
        return utf16(QStringConverter::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return utf16(QStringConverter::Utf16BE);
    if (bytes.startsWith(kUtf8Mark))
        return Utf8File{kUtf8Mark, bytes.sliced(3)};
    return Utf8File{{}, bytes};
}

QString DecodeLine(QByteArrayView line) {
    // Stateless: a sequence cut off at the end of the line becomes U+FFFD instead of vanishing.
    QStringDecoder d(QStringConverter::Utf8,
                     QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return d(line);
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

QString Fold(const QString& name) {
    return name.toCaseFolded();
}

bool SameName(const QString& a, const QString& b) {
    return Fold(a) == Fold(b);
}

std::optional<QString> Find(const QByteArray& file, const QString& section, const QString& key) {
    // Only the first section of a name is searched, as the profile-string calls do.
    const Utf8File utf8 = ToUtf8(file);
    enum { Before, Inside, After } state = Before;
    std::optional<QString> found;
    ForEachLine(utf8.body, [&](QByteArrayView body, QByteArrayView, qsizetype) {
        const Line line = ParseLine(DecodeLine(body));
        if (line.kind == Line::Section) {
            if (state == Inside)
                state = After;
            else if (state == Before && SameName(line.name, section))
                state = Inside;
        } else if (line.kind == Line::Entry && state == Inside && SameName(line.name, key)) {
            found = line.value;
        }
        return state != After && !found;
    });
    return found;
}

QByteArray WithValue(const QByteArray& file, const QString& section, const QString& key,
                     const QString& value) {
    const Utf8File utf8 = ToUtf8(file);
    std::vector<RawLine> lines;
    ForEachLine(utf8.body, [&](QByteArrayView body, QByteArrayView end, qsizetype) {
        lines.push_back({body, end});
        return true;
    });
    const QByteArrayView eol = (!lines.empty() && lines.front().end == "\r\n") ? "\r\n" : "\n";

    enum { Before, Inside, After } state = Before;
    qsizetype insertAfter = -1;
    qsizetype target = -1;
    QString fileKey = key;
    for (qsizetype i = 0; i < qsizetype(lines.size()) && state != After && target < 0; ++i) {
        const Line line = ParseLine(DecodeLine(lines[i].body));
        if (line.kind == Line::Section) {
            if (state == Inside)
                state = After;
            else if (state == Before && SameName(line.name, section)) {
                state = Inside;
                insertAfter = i;
            }
        } else if (line.kind == Line::Entry && state == Inside) {
            insertAfter = i;
            if (SameName(line.name, key)) {
                target = i;
                fileKey = line.name; // keep the spelling the file already uses
            }
        }
    }

    const QByteArray entry = (fileKey + u'=' + EncodeValue(value)).toUtf8();
    const QByteArray header = (u'[' + section + u']').toUtf8();
    QByteArray out;
    out.reserve(utf8.mark.size() + utf8.body.size() + header.size() + entry.size() + 8);
    out += utf8.mark;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const RawLine& l = lines[i];
        const bool last = i + 1 == qsizetype(lines.size());
        out += i == target ? QByteArrayView(entry) : l.body;
        const bool needsEnd = i == insertAfter || (last && insertAfter < 0);
        out += (l.end.isEmpty() && needsEnd && target < 0) ? eol : l.end;
        if (i == insertAfter && target < 0)
            out.append(entry).append(eol);
    }
    if (insertAfter < 0)
        out.append(header).append(eol).append(entry).append(eol);
    return out;
}

bool CanStore(const QString& value) {
    return !value.contains(u'\n') && !value.contains(u'\r') && !value.contains(QChar(0)) &&
           QStringView(value).isValidUtf16();
}

bool CanStoreName(const QString& name, bool isSection) {
    if (!CanStore(name) || trimmed(name).size() != name.size())
        return false;
    if (isSection)
        return !name.contains(u']');
    return !name.isEmpty() && !name.contains(u'=') && name.front() != u';' && name.front() != u'#' &&
           name.front() != u'[';
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
