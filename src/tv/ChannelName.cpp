#include "tv/ChannelName.h"

#include <QStringList>
#include <QVarLengthArray>

#include <utility>

namespace {

// Upper-case Cyrillic letters drawn like Latin ones, and the Latin letter each is taken for.
QChar lookAlike(QChar c) {
    switch (c.unicode()) {
    case u'А':
        return u'A';
    case u'В':
        return u'B';
    case u'Е':
        return u'E';
    case u'Ё':
        return u'E';
    case u'К':
        return u'K';
    case u'М':
        return u'M';
    case u'Н':
        return u'H';
    case u'О':
        return u'O';
    case u'Р':
        return u'P';
    case u'С':
        return u'C';
    case u'Т':
        return u'T';
    case u'У':
        return u'Y';
    case u'Х':
        return u'X';
    case u'І':
        return u'I';
    case u'Ј':
        return u'J';
    case u'Ѕ':
        return u'S';
    default:
        return c;
    }
}

bool isQuote(QChar c) {
    switch (c.unicode()) {
    case u'"':
    case u'\'':
    case u'`':
    case u'«':
    case u'»':
    case u'„':
    case u'“':
    case u'”':
    case u'‘':
    case u'’':
    case u'´':
        return true;
    default:
        return false;
    }
}

bool isSeparator(QChar c) {
    return c.isSpace() || c == u'-' || c == u'_' || c == u'.' || c == u',' || c == u':' || c == u';' ||
           c == u'!' || c == u'/' || c == u'\\' || c == u'|' || c == u'–' || c == u'—';
}

// Trailing words that name a quality or the base time zone, not another channel.
bool isSuffix(QStringView word) {
    static const QStringList suffixes{QStringLiteral("HD"), QStringLiteral("FHD"),  QStringLiteral("UHD"),
                                      QStringLiteral("SD"), QStringLiteral("4K"),   QStringLiteral("HEVC"),
                                      QStringLiteral("+0"), QStringLiteral("ORIG"), QStringLiteral("50FPS")};
    for (const QString& s : suffixes)
        if (word == s)
            return true;
    return false;
}

// A remark naming the home country, as playlists add it ("(Россия)", "[RU]"), after lookAlike.
bool isHome(const QString& inner) {
    static const QStringList home = [] {
        QStringList list;
        for (const char16_t* w : {u"РОССИЯ", u"РФ", u"RUSSIA", u"RU", u"RUS", u"МОСКВА", u"MOSCOW"}) {
            QString mapped;
            for (QChar c : QStringView(w))
                mapped += lookAlike(c);
            list << mapped;
        }
        return list;
    }();
    return home.contains(inner);
}

} // namespace

QString ChannelNameKey(QStringView name) {
    // One pass into upper-case look-alike-free text; the words are kept as ranges into it.
    QString text;
    text.reserve(name.size());
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 16> words; // [begin, end) in text
    qsizetype begin = -1;
    const auto endWord = [&] {
        if (begin >= 0 && text.size() > begin)
            words.append({begin, text.size()});
        begin = -1;
    };
    for (QChar c : name) {
        if (isQuote(c))
            continue;
        if (c == u'&') {
            endWord();
            begin = text.size();
            text += u'&';
            endWord();
            continue;
        }
        if (isSeparator(c)) {
            endWord();
            continue;
        }
        if (begin < 0)
            begin = text.size();
        text += lookAlike(c.toUpper());
    }
    endWord();
    const auto word = [&](qsizetype i) {
        return QStringView(text).sliced(words[i].first, words[i].second - words[i].first);
    };

    // Strip from the end: suffixes, and bracketed remarks that name the home country or a quality
    // (another country, as in "Муз ТВ (Азербайджан)", is another channel).
    qsizetype n = words.size();
    while (n > 0) {
        const QStringView last = word(n - 1);
        if (isSuffix(last)) {
            --n;
            continue;
        }
        const QChar close = last.back();
        if (close != u')' && close != u']')
            break;
        const QChar open = close == u')' ? u'(' : u'[';
        qsizetype first = n - 1;
        while (first > 0 && !word(first).startsWith(open))
            --first;
        QString inner;
        for (qsizetype i = first; i < n; ++i) {
            if (i > first)
                inner += u' ';
            inner += word(i);
        }
        inner = inner.mid(1, inner.size() - 2).trimmed();
        if (!isHome(inner) && !isSuffix(inner))
            break;
        n = first;
    }

    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QStringView w = word(i);
        if (w == u"И" || w == u"AND") {
            key += u'&';
            continue;
        }
        for (QChar c : w)
            key += c.toLower();
    }
    return key.isEmpty() ? name.toString().toLower() : key;
}
