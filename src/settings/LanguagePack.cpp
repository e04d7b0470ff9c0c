// Placeholder until the language packs land.
#include "settings/LanguagePack.h"

struct LanguagePack::Data {};
LanguagePack::LanguagePack(const QString&) {}
QString LanguagePack::LangText(const QString&, const QString&) const {
    return QStringLiteral("0");
}
const std::array<QString, 5>& LanguagePack::FixedCaptions() {
    static const std::array<QString, 5> c{
        QStringLiteral("Русский [Ru]"), QStringLiteral("Украинский [Ua]"), QStringLiteral("Английский [En]"),
        QStringLiteral("Белорусский [Blr]"), QStringLiteral("Китайский [Chi]")};
    return c;
}
const std::array<QString, 5>& LanguagePack::FileNames() {
    static const std::array<QString, 5> f{QStringLiteral("Russian.lng"), QStringLiteral("Ukraine.lng"),
                                          QStringLiteral("England.lng"), QStringLiteral("Belarusian.lng"),
                                          QStringLiteral("Chinese.lng")};
    return f;
}
int LanguagePack::IndexForChoice(const QString& choice) {
    const auto& c = FixedCaptions();
    for (int i = 0; i < 5; ++i)
        if (c[i] == choice)
            return i;
    return 0;
}
namespace {
LanguagePack& current() {
    static LanguagePack pack;
    return pack;
}
} // namespace
void SetLanguagePack(LanguagePack pack) {
    current() = std::move(pack);
}
const LanguagePack& CurrentLanguagePack() {
    return current();
}
QString LangText(const QString& section, const QString& key) {
    return current().LangText(section, key);
}
