#include "platform/UiText.h"

namespace {
LangLookup& source() {
    static LangLookup lookup;
    return lookup;
}

QString lookUp(const char* section, const char* key) {
    const LangLookup& lookup = source();
    if (!lookup)
        return {};
    const QString t = lookup(QLatin1String(section), QLatin1String(key));
    return t == QLatin1String("0") ? QString() : t;
}

// Which of the three forms a count takes: 0 one, 1 few, 2 many.
int formOf(const QString& rule, long long n) {
    if (n < 0)
        n = -n;
    if (rule == QLatin1String("none"))
        return 2;
    if (rule == QLatin1String("english"))
        return n == 1 ? 0 : 2;
    // Russian, Ukrainian and Belarusian count alike.
    const long long tens = n % 100, ones = n % 10;
    if (tens >= 11 && tens <= 14)
        return 2;
    if (ones == 1)
        return 0;
    if (ones >= 2 && ones <= 4)
        return 1;
    return 2;
}
} // namespace

QString UiText(const char* section, const char* key, const QString& builtIn) {
    const QString t = lookUp(section, key);
    return t.isEmpty() ? builtIn : t;
}

QString UiPlural(const char* section, const char* key, long long n, const QString& one, const QString& few,
                 const QString& many) {
    const QString rule = lookUp("Plural", "rule");
    const int form = formOf(rule.isEmpty() ? QStringLiteral("slavic") : rule.trimmed().toLower(), n);
    static const char* const suffix[] = {"1", "2", "5"};
    const QByteArray fullKey = QByteArray(key) + suffix[form];
    const QString builtIn = form == 0 ? one : form == 1 ? few : many;
    return UiText(section, fullKey.constData(), builtIn);
}

void SetUiTextSource(LangLookup lookup) {
    source() = std::move(lookup);
}
