#include "tv/ChannelKey.h"

#include <QRegularExpression>

#include <algorithm>

#include <vector>

namespace {

// Cyrillic capitals drawn like Latin ones, and those Latin letters.
constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
    {u'А', u'A'}, {u'В', u'B'}, {u'Е', u'E'}, {u'К', u'K'}, {u'М', u'M'},
    {u'Н', u'H'}, {u'О', u'O'}, {u'Р', u'P'}, {u'С', u'C'}, {u'Т', u'T'},
    {u'У', u'Y'}, {u'Х', u'X'}, {u'І', u'I'}, {u'Ј', u'J'}, {u'Ѕ', u'S'},
};

QChar cyrillicFor(QChar latinUpper) {
    for (const auto& [cyr, lat] : kLookAlikes)
        if (lat == latinUpper.unicode())
            return QChar(cyr);
    return {};
}

QChar latinFor(QChar cyrillicUpper) {
    for (const auto& [cyr, lat] : kLookAlikes)
        if (cyr == cyrillicUpper.unicode())
            return QChar(lat);
    return {};
}

bool isCyrillic(QChar c) {
    return c.script() == QChar::Script_Cyrillic;
}
bool isLatin(QChar c) {
    return c.script() == QChar::Script_Latin;
}

// Lower-case Latin spelling of one lower-case Cyrillic letter; null for a letter not listed.
const char* transliteration(char16_t c) {
    switch (c) {
    case u'а':
        return "a";
    case u'б':
        return "b";
    case u'в':
        return "v";
    case u'г':
        return "g";
    case u'д':
        return "d";
    case u'е':
        return "e";
    case u'ё':
        return "e";
    case u'ж':
        return "zh";
    case u'з':
        return "z";
    case u'и':
        return "i";
    case u'й':
        return "y";
    case u'к':
        return "k";
    case u'л':
        return "l";
    case u'м':
        return "m";
    case u'н':
        return "n";
    case u'о':
        return "o";
    case u'п':
        return "p";
    case u'р':
        return "r";
    case u'с':
        return "s";
    case u'т':
        return "t";
    case u'у':
        return "u";
    case u'ф':
        return "f";
    case u'х':
        return "kh";
    case u'ц':
        return "ts";
    case u'ч':
        return "ch";
    case u'ш':
        return "sh";
    case u'щ':
        return "shch";
    case u'ъ':
        return "";
    case u'ы':
        return "y";
    case u'ь':
        return "";
    case u'э':
        return "e";
    case u'ю':
        return "yu";
    case u'я':
        return "ya";
    case u'і':
        return "i"; // Ukrainian, Belarusian, Kazakh
    case u'ї':
        return "yi";
    case u'є':
        return "ye";
    case u'ґ':
        return "g";
    case u'ў':
        return "u";
    case u'ә':
        return "a"; // Kazakh
    case u'ғ':
        return "g";
    case u'қ':
        return "k";
    case u'ң':
        return "n";
    case u'ө':
        return "o";
    case u'ұ':
        return "u";
    case u'ү':
        return "u";
    case u'һ':
        return "h";
    case u'ј':
        return "j";
    case u'ѕ':
        return "s";
    default:
        return nullptr;
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
    case u'ʼ':
        return true;
    default:
        return false;
    }
}

bool isSeparator(QChar c) {
    return c.isSpace() || c == u'-' || c == u'_' || c == u'.' || c == u',' || c == u':' || c == u';' ||
           c == u'!' || c == u'?' || c == u'/' || c == u'\\' || c == u'|' || c == u'–' || c == u'—' ||
           c == u'%' || c == u'°' || c == u'#' || c == u'*' || c == u'№';
}

bool isBracket(QChar c) {
    return c == u'(' || c == u')' || c == u'[' || c == u']';
}

// Words and single bracket marks of a name, quotes dropped, "&" a word of its own.
QStringList tokens(QStringView name) {
    QStringList out;
    QString word;
    const auto flush = [&] {
        if (!word.isEmpty())
            out << std::exchange(word, QString());
    };
    for (QChar c : name) {
        if (isQuote(c))
            continue;
        if (isSeparator(c)) {
            flush();
        } else if (isBracket(c) || c == u'&') {
            flush();
            out << QString(c);
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

// A doubled letter counts once ("Rossiya", "Channel"); doubled digits are another number.
QString foldDoubles(const QString& in) {
    QString folded;
    for (QChar c : in)
        if (folded.isEmpty() || folded.back() != c || c.isDigit())
            folded += c;
    return folded;
}

// The Latin letters a word of either script is compared by, still in its own spelling.
QString romanised(const QString& word) {
    bool cyr = false, lat = false, cyrOwn = false, latOwn = false;
    for (QChar c : word) {
        const QChar up = c.toUpper();
        if (isCyrillic(c)) {
            cyr = true;
            cyrOwn = cyrOwn || latinFor(up).isNull();
        } else if (isLatin(c)) {
            lat = true;
            latOwn = latOwn || cyrillicFor(up).isNull();
        }
    }
    // A word that mixes scripts is read in the script its other letters belong to; one made of
    // look-alikes only is Cyrillic ("TНТ" is ТНТ).
    const bool readAsCyrillic = cyr && (cyrOwn || !latOwn);
    QString out;
    // Accented Latin letters (Latin-written Kazakh and the like) lose their accents; decomposing
    // costs, so only words that have one are decomposed.
    const bool accented = lat && std::any_of(word.cbegin(), word.cend(),
                                             [](QChar c) { return c.unicode() > 0x7f && isLatin(c); });
    for (QChar c : accented ? word.normalized(QString::NormalizationForm_D) : word) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        QChar up = c.toUpper();
        if (cyr && lat) {
            if (readAsCyrillic && isLatin(c) && !cyrillicFor(up).isNull())
                up = cyrillicFor(up);
            else if (!readAsCyrillic && isCyrillic(c) && !latinFor(up).isNull())
                up = latinFor(up);
        }
        const QChar low = up.toLower();
        if (isCyrillic(low)) {
            if (const char* t = transliteration(low.unicode()))
                out += QLatin1String(t);
            else
                out += low;
        } else if (low == u'ı') {
            out += u'i';
        } else {
            out += low;
        }
    }
    // The same sound written the ways transliterations write it ("КХЛ" gives "kkhl", "KHL" "khl").
    out = foldDoubles(out);
    out.replace(QLatin1String("kh"), QLatin1String("h"));
    out.replace(QLatin1String("ts"), QLatin1String("c"));
    out.replace(QLatin1String("tz"), QLatin1String("c"));
    out.replace(QLatin1String("ph"), QLatin1String("f"));
    out.replace(QLatin1String("ck"), QLatin1String("k"));
    out.replace(u'w', u'v');
    out.replace(u'j', u'i');
    out.replace(u'y', u'i');
    return foldDoubles(out);
}

// Trailing words that name a quality or the base time zone, not another channel.
bool isQuality(const QString& w) {
    static const QStringList words{"hd", "fhd", "uhd", "sd", "4k", "hevc", "+0", "orig", "50fps", "hdr"};
    return words.contains(w);
}

// The home country as playlists remark it: "(Россия)", "[RU]".
bool isHome(const QString& w) {
    static const QStringList words{"rosia", "rf", "rusia", "ru", "rus", "moskva", "moscov"};
    return words.contains(w);
}

// What a bracketed remark at the end says that is no part of the name: a resolution, a playlist's
// label, the home country, a quality.
bool isRemark(const QStringList& inner, bool square) {
    static const QRegularExpression resolution(QStringLiteral("^[0-9]{3,4}[pi]$"));
    if (square)
        return true; // "[Geo-blocked]", "[Not 24/7]", "[HD]": playlists' labels, never a name
    const QString all = inner.join(u' ');
    return inner.size() == 1 && (resolution.match(all).hasMatch() || isHome(all) || isQuality(all));
}

QString joined(const QStringList& words, qsizetype n) {
    QString key;
    for (qsizetype i = 0; i < n; ++i) {
        const QString& w = words[i];
        key += (w == u"i" || w == u"and") ? QStringLiteral("&") : w;
    }
    return key;
}

QStringList keysOf(QStringList words) {
    // Strip from the end: quality words, and bracketed remarks that say nothing about the channel.
    while (!words.isEmpty()) {
        const QString& last = words.back();
        if (isQuality(last)) {
            words.removeLast();
            continue;
        }
        if (last != u")" && last != u"]")
            break;
        const QString open = last == u")" ? QStringLiteral("(") : QStringLiteral("[");
        const qsizetype from = words.lastIndexOf(open);
        if (from < 0 || !isRemark(words.mid(from + 1, words.size() - from - 2), open == u"["))
            break;
        words.resize(from);
    }
    QStringList keys;
    if (words.isEmpty())
        return keys;
    keys << joined(words, words.size());
    if (words.size() > 1 && words.back() == u"tv")
        keys << joined(words, words.size() - 1);
    return keys;
}

} // namespace

QStringList ChannelMatchKeys(QStringView name) {
    QStringList words;
    for (const QString& t : tokens(name))
        words << (t.size() == 1 && (isBracket(t[0]) || t[0] == u'&') ? t : romanised(t));
    words.removeAll(QString());
    return keysOf(std::move(words));
}

QStringList TvgIdKeys(QStringView tvgId) {
    QStringView id = tvgId.left(tvgId.indexOf(u'@'));
    if (!TvgIdCountry(tvgId).isEmpty())
        id = id.left(id.lastIndexOf(u'.'));
    // Camel case: "ChannelOne" is two words, "RBKTV" one, "TVSport" "TV" and "Sport".
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < id.size(); ++i) {
        const QChar c = id[i];
        const bool upper = c.isUpper();
        const bool startsWord =
            !word.isEmpty() && upper &&
            (word.back().isLower() || (i + 1 < id.size() && id[i + 1].isLower() && word.back().isUpper()));
        if (startsWord || (!c.isLetterOrNumber() && c != u'+')) {
            if (!word.isEmpty())
                words << romanised(std::exchange(word, QString()));
            if (!c.isLetterOrNumber() && c != u'+')
                continue;
        }
        word += c;
    }
    if (!word.isEmpty())
        words << romanised(word);
    words.removeAll(QString());
    return keysOf(std::move(words));
}

QString TvgIdCountry(QStringView tvgId) {
    const QStringView id = tvgId.left(tvgId.indexOf(u'@'));
    const qsizetype dot = id.lastIndexOf(u'.');
    if (dot <= 0 || id.size() - dot != 3)
        return {};
    const QStringView cc = id.sliced(dot + 1);
    for (QChar c : cc)
        if (c.unicode() > 127 || !c.isLetter())
            return {};
    return cc.toString().toLower();
}

QString TvgIdFeed(QStringView tvgId) {
    const qsizetype at = tvgId.indexOf(u'@');
    return at < 0 ? QString() : tvgId.sliced(at + 1).toString();
}

bool IsTimeShiftFeed(QStringView feed) {
    static const QRegularExpression shift(QStringLiteral("^(plus|minus)[0-9]+$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return shift.match(feed).hasMatch();
}

bool IsTimeShiftName(QStringView name) {
    static const QRegularExpression shift(QStringLiteral("(^|\\s)[+-][1-9][0-9]?(\\s|\\(|\\[|$)"));
    return shift.match(name).hasMatch();
}
