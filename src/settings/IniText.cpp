#include "settings/IniText.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

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
    return WithValues(file, {Change{section, key, value}});
}

QByteArray WithValues(const QByteArray& file, const std::vector<Change>& changes) {
    const Utf8File utf8 = ToUtf8(file);
    std::vector<RawLine> lines;
    ForEachLine(utf8.body, [&](QByteArrayView body, QByteArrayView end, qsizetype) {
        lines.push_back({body, end});
        return true;
    });
    const QByteArrayView eol = (!lines.empty() && lines.front().end == "\r\n") ? "\r\n" : "\n";

    // Changes by folded section, then by folded key.
    struct Wanted {
        qsizetype change;
        qsizetype line = -1; // the key's line, once found
        QString fileKey;     // the spelling the file already uses
    };
    struct SectionState {
        QHash<QString, Wanted> keys;
        qsizetype insertAfter = -1; // the section's header or last entry
        bool seen = false;          // its first occurrence was passed
        qsizetype firstChange = 0;
    };
    QHash<QString, SectionState> sections;
    std::vector<QString> sectionOrder; // folded, by the first change naming each
    for (qsizetype i = 0; i < qsizetype(changes.size()); ++i) {
        const QString s = Fold(changes[size_t(i)].section);
        auto it = sections.find(s);
        if (it == sections.end()) {
            it = sections.insert(s, SectionState{});
            it->firstChange = i;
            sectionOrder.push_back(s);
        }
        it->keys.insert(Fold(changes[size_t(i)].key), Wanted{i, -1, changes[size_t(i)].key});
    }

    // Only the first section of a name is searched, as the profile-string calls do.
    SectionState* inside = nullptr;
    std::vector<const Wanted*> replaced(lines.size(), nullptr); // the change for each line
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line line = ParseLine(DecodeLine(lines[size_t(i)].body));
        if (line.kind == Line::Section) {
            inside = nullptr;
            const auto it = sections.find(Fold(line.name));
            if (it != sections.end() && !it->seen) {
                it->seen = true;
                it->insertAfter = i;
                inside = &*it;
            }
        } else if (line.kind == Line::Entry && inside) {
            inside->insertAfter = i;
            const auto k = inside->keys.find(Fold(line.name));
            if (k != inside->keys.end() && k->line < 0) {
                k->line = i;
                k->fileKey = line.name;
                replaced[size_t(i)] = &*k;
            }
        }
    }

    const auto entryOf = [&](const Wanted& w) {
        return (w.fileKey + u'=' + EncodeValue(changes[size_t(w.change)].value)).toUtf8();
    };
    // New keys of each section present in the file, in the order of their changes, by the line
    // they follow.
    QHash<qsizetype, std::vector<const Wanted*>> added;
    QByteArray appended; // sections the file lacks
    qsizetype extra = 0;
    for (const QString& s : sectionOrder) {
        const SectionState& st = *sections.constFind(s);
        std::vector<const Wanted*> missing;
        for (const Wanted& w : st.keys)
            if (w.line < 0)
                missing.push_back(&w);
        std::sort(missing.begin(), missing.end(),
                  [](const Wanted* a, const Wanted* b) { return a->change < b->change; });
        if (missing.empty())
            continue;
        if (st.seen) {
            std::vector<const Wanted*>& after = added[st.insertAfter];
            after.insert(after.end(), missing.begin(), missing.end());
        } else {
            appended.append((u'[' + changes[size_t(st.firstChange)].section + u']').toUtf8()).append(eol);
            for (const Wanted* w : missing)
                appended.append(entryOf(*w)).append(eol);
        }
        for (const Wanted* w : missing)
            extra += changes[size_t(w->change)].value.size() * 3 + w->fileKey.size() * 3 + 4;
    }

    QByteArray out;
    out.reserve(utf8.mark.size() + utf8.body.size() + appended.size() + extra + 8);
    out += utf8.mark;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const RawLine& l = lines[size_t(i)];
        const bool last = i + 1 == qsizetype(lines.size());
        out += replaced[size_t(i)] ? QByteArrayView(entryOf(*replaced[size_t(i)])) : l.body;
        const auto more = added.constFind(i);
        const bool needsEnd = more != added.constEnd() || (last && !appended.isEmpty());
        out += (l.end.isEmpty() && needsEnd) ? eol : l.end;
        if (more != added.constEnd())
            for (const Wanted* w : *more)
                out.append(entryOf(*w)).append(eol);
    }
    out += appended;
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
