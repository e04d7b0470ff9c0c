#include "radio/TitleDecoder.h"

#include <QStringDecoder>

#include <array>
#include <cmath>

namespace {

// The upper halves of the two code pages; the lower halves are ASCII.
constexpr std::array<char16_t, 128> kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};
constexpr std::array<char16_t, 128> kKoi8r = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524, 0x252C, 0x2534, 0x253C, 0x2580, 0x2584,
    0x2588, 0x258C, 0x2590, 0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248, 0x2264, 0x2265,
    0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7, 0x2550, 0x2551, 0x2552, 0x0451, 0x2553, 0x2554, 0x2555,
    0x2556, 0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E, 0x255F, 0x2560, 0x2561, 0x0401,
    0x2562, 0x2563, 0x2564, 0x2565, 0x2566, 0x2567, 0x2568, 0x2569, 0x256A, 0x256B, 0x256C, 0x00A9, 0x044E,
    0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433, 0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C,
    0x043D, 0x043E, 0x043F, 0x044F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0436, 0x0432, 0x044C, 0x044B, 0x0437,
    0x0448, 0x044D, 0x0449, 0x0447, 0x044A, 0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413,
    0x0425, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x042F, 0x0420, 0x0421, 0x0422,
    0x0423, 0x0416, 0x0412, 0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A,
};

// Windows-1252's 0x80..0x9F (quotes, dashes, Š, Œ, Ž ...); 0xA0..0xFF are Latin-1's, which are the
// code points themselves. The five unassigned bytes stay C1 controls, as browsers read them.
constexpr std::array<char16_t, 32> kCp1252Low = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Letter frequencies of Russian text in percent, а..я.
constexpr std::array<double, 32> kRussianFrequency = {
    8.01, 1.59, 4.54, 1.70, 2.98, 8.45, 0.94, 1.65, 7.35, 1.21, 3.49, 4.40, 3.21, 6.70, 10.97, 2.81,
    4.73, 5.47, 6.26, 2.62, 0.26, 0.97, 0.48, 1.44, 0.73, 0.36, 0.04, 1.90, 1.74, 0.32, 0.64,  2.01,
};

QString decodeSingleByte(const QByteArray& raw, const std::array<char16_t, 128>& upper) {
    QString text;
    text.reserve(raw.size());
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]));
    }
    return text;
}

QString decodeCp1252(const QByteArray& raw) {
    QString text;
    text.reserve(raw.size());
    for (const char c : raw) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252Low[b - 0x80]) : QChar(b));
    }
    return text;
}

bool isValidUtf8(const QByteArray& raw) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(raw);
    return !decoder.hasError();
}

bool isCyrillicLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x0400 && u <= 0x045F) || u == 0x0490 || u == 0x0491;
}

// Log-frequency of a letter in Russian; letters of the neighbouring alphabets (і, ї, є, ґ, ў, ё)
// count as ordinary ones so that Ukrainian and Belarusian titles are not pushed to KOI8-R.
double letterWeight(QChar lower) {
    const char16_t u = lower.unicode();
    if (u >= 0x0430 && u <= 0x044F)
        return std::log(kRussianFrequency[u - 0x0430]);
    return std::log(1.5);
}

} // namespace

TitleEncoding titleEncodingFromName(const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("utf-8") || n == QLatin1String("utf8"))
        return TitleEncoding::Utf8;
    if (n == QLatin1String("windows-1251") || n == QLatin1String("cp1251"))
        return TitleEncoding::Windows1251;
    if (n == QLatin1String("koi8-r") || n == QLatin1String("koi8r"))
        return TitleEncoding::Koi8R;
    if (n == QLatin1String("windows-1252") || n == QLatin1String("cp1252") || n == QLatin1String("latin-1") ||
        n == QLatin1String("latin1") || n == QLatin1String("iso-8859-1"))
        return TitleEncoding::Windows1252;
    return TitleEncoding::Auto;
}

QString titleEncodingName(TitleEncoding encoding) {
    switch (encoding) {
    case TitleEncoding::Utf8:
        return QStringLiteral("utf-8");
    case TitleEncoding::Windows1251:
        return QStringLiteral("windows-1251");
    case TitleEncoding::Koi8R:
        return QStringLiteral("koi8-r");
    case TitleEncoding::Windows1252:
        return QStringLiteral("windows-1252");
    case TitleEncoding::Auto:
        break;
    }
    return QStringLiteral("auto");
}

double cyrillicPlausibility(const QString& text) {
    double score = 0;
    int letters = 0;
    QChar previous;
    for (const QChar c : text) {
        if (isCyrillicLetter(c)) {
            ++letters;
            score += letterWeight(c.toLower());
            // Words are capitalised or all capitals; a capital after a small letter is unusual.
            if (c.isUpper() && isCyrillicLetter(previous) && previous.isLower())
                score -= 4;
        } else if (c.unicode() >= 0x2500 && c.unicode() <= 0x25FF) {
            score -= 6; // box drawing: the upper half of KOI8-R read wrongly
        } else if (c.unicode() == 0xFFFD) {
            score -= 6;
        }
        previous = c;
    }
    return letters ? score / letters : score;
}

QString decodeTitle(const QByteArray& raw, TitleEncoding encoding) {
    switch (encoding) {
    case TitleEncoding::Utf8:
        return QString::fromUtf8(raw);
    case TitleEncoding::Windows1251:
        return decodeSingleByte(raw, kCp1251);
    case TitleEncoding::Koi8R:
        return decodeSingleByte(raw, kKoi8r);
    case TitleEncoding::Windows1252:
        return decodeCp1252(raw);
    case TitleEncoding::Auto:
        break;
    }
    if (isValidUtf8(raw))
        return QString::fromUtf8(raw);
    QString cp1251 = decodeSingleByte(raw, kCp1251);
    QString koi8 = decodeSingleByte(raw, kKoi8r);
    QString cyrillic = cyrillicPlausibility(koi8) > cyrillicPlausibility(cp1251) ? koi8 : cp1251;
    QString latin = decodeCp1252(raw);
    // A tie keeps the Cyrillic reading, as before Latin-1 was considered.
    return readingFaults(latin) < readingFaults(cyrillic) ? latin : cyrillic;
}

int readingFaults(const QString& text) {
    int faults = 0;
    int ascii = 0, accented = 0, cyrillic = 0;
    const auto endWord = [&] {
        const int letters = ascii + accented + cyrillic;
        if (cyrillic > 0 && ascii + accented > 0)
            faults += 2; // "Motцrhead", "BeyoncИ": a Cyrillic reading of Latin text
        else if (letters > 1 && accented > ascii)
            faults += accented > 1 && ascii == 0 ? 2 : 1; // "Êèíî": a Latin reading of Cyrillic text
        ascii = accented = cyrillic = 0;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isLetter()) {
            if (u < 0x80)
                ++ascii;
            else if (isCyrillicLetter(c))
                ++cyrillic;
            else
                ++accented;
            continue;
        }
        // A sign between two letters ("Îá³éìè", the Ukrainian і read as Latin-1) is a letter read
        // wrongly; an apostrophe or a hyphen there is ordinary.
        if (u >= 0xA0 && u < 0x2000 && i > 0 && i + 1 < n && text.at(i - 1).isLetter() &&
            text.at(i + 1).isLetter())
            ++faults;
        else if ((u >= 0x80 && u < 0xA0) || (u >= 0x2500 && u <= 0x25FF) || u == 0xFFFD)
            faults += 2; // a C1 control, box drawing: bytes no title means
        endWord();
    }
    endWord();
    return faults;
}
