#include "tv/ChannelName.h"

#include <QStringList>

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
    const QString upper = name.toString().toUpper();
    QString text;
    text.reserve(upper.size() + 4);
    for (QChar c : upper) {
        if (isQuote(c))
            continue;
        if (c == u'&') {
            text += QStringLiteral(" & ");
            continue;
        }
        text += isSeparator(c) ? QChar(u' ') : lookAlike(c);
    }
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    // Strip from the end: bracketed remarks ("(Россия)", "[EN]") and suffixes, in any mix.
    while (!words.isEmpty()) {
        const QString& last = words.last();
        if (isSuffix(last)) {
            words.removeLast();
            continue;
        }
        const QChar close = last.back();
        if (close != u')' && close != u']')
            break;
        // A bracketed remark goes when it names the home country or a quality; another country
        // ("Муз ТВ (Азербайджан)") is another channel.
        const QChar open = close == u')' ? u'(' : u'[';
        qsizetype first = words.size() - 1;
        while (first > 0 && !words[first].startsWith(open))
            --first;
        QString inner = words.mid(first).join(u' ');
        inner = inner.mid(1, inner.size() - 2).trimmed();
        if (!isHome(inner) && !isSuffix(inner))
            break;
        words.erase(words.begin() + first, words.end());
    }
    QString key;
    key.reserve(text.size());
    for (const QString& w : words) {
        if (w == u"И" || w == u"AND")
            key += u'&';
        else
            key += w;
    }
    return key.isEmpty() ? name.toString().toLower() : key.toLower();
}
