// The integer rules: any text. Property: the result agrees with a plain reference reading of the
// same rules (sign, decimal within 32 bits, or 0x and hexadecimal wrapping as a 32-bit word).
#include "FuzzCheck.h"
#include "settings/IntegerText.h"

#include <QString>

#include <optional>

namespace {
std::optional<qint32> reference(const QString& t) {
    QString s = t;
    bool negative = false;
    if (s.startsWith(u'+') || s.startsWith(u'-')) {
        negative = s.front() == u'-';
        s.remove(0, 1);
    }
    const bool hex = s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X');
    if (hex)
        s.remove(0, 2);
    if (s.isEmpty())
        return std::nullopt;
    for (QChar c : s) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool hexDigit = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!digit && !(hex && hexDigit))
            return std::nullopt;
    }
    // Leading zeros do not count towards the size.
    while (s.size() > 1 && s.front() == u'0')
        s.remove(0, 1);
    if (s.size() > (hex ? 8 : 10))
        return std::nullopt;
    bool ok = false;
    const qulonglong v = s.toULongLong(&ok, hex ? 16 : 10);
    if (!ok)
        return std::nullopt;
    if (hex)
        return qint32(quint32(negative ? 0u - quint32(v) : quint32(v)));
    if (negative)
        return v <= 0x80000000ull ? std::optional<qint32>(qint32(-qint64(v))) : std::nullopt;
    return v <= 0x7FFFFFFFull ? std::optional<qint32>(qint32(v)) : std::nullopt;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = size % 2 == 0 && size > 0 && data[0] == 0xFF
                             ? QString(reinterpret_cast<const QChar*>(data + 2), qsizetype(size / 2 - 1))
                             : QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(ParseInt32(text) == reference(text));
    return 0;
}
