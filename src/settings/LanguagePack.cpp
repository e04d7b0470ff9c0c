#include "settings/LanguagePack.h"

#include "platform/AppDir.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"
#include "settings/IniText.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>

// Section and key names fold to one case, so lookups ignore letter case like the file rules do.
struct LanguagePack::Data {
    QHash<QString, QHash<QString, QString>> sections;
};

namespace {
QString fold(const QString& name) {
    return IniText::Fold(name);
}
} // namespace

LanguagePack::LanguagePack(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        // Not shown to the user: every text reads "0".
        qCWarning(lcSettings) << "cannot read the language pack" << path << ":" << f.errorString();
        return;
    }
    const IniText::Utf8File text = IniText::ToUtf8(f.readAll());
    auto data = std::make_shared<Data>();
    // As with the settings file, only the first section of a name counts and the first of
    // repeated keys wins.
    QSet<QString> seen;
    QHash<QString, QString>* current = nullptr;
    IniText::ForEachLine(text.body, [&](QByteArrayView raw, QByteArrayView, qsizetype) {
        const IniText::Line line = IniText::ParseLine(IniText::DecodeLine(raw));
        if (line.kind == IniText::Line::Section) {
            const QString name = fold(line.name);
            current = seen.contains(name) ? nullptr : &data->sections[name];
            seen.insert(name);
        } else if (line.kind == IniText::Line::Entry && current) {
            const QString key = fold(line.name);
            if (!current->contains(key))
                current->insert(key, line.value);
        }
        return true;
    });
    data_ = std::move(data);
}

QString LanguagePack::LangText(const QString& section, const QString& key) const {
    if (data_) {
        const auto s = data_->sections.constFind(fold(section));
        if (s != data_->sections.constEnd()) {
            const auto k = s->constFind(fold(key));
            if (k != s->constEnd())
                return *k;
        }
    }
    return QStringLiteral("0");
}

namespace {

struct Language {
    const char16_t* fixedCaption; // also what Setting.ini stores as the choice
    const char* fileName;
    const char* captionKey;
    const char* qtLocale; // Qt's own translations; Qt has none in Belarusian, Russian is nearest
};

// In the order of the language buttons; the first is the fallback.
constexpr Language kLanguages[] = {
    {u"Русский [Ru]", "Russian.lng", "Russian", "ru"},
    {u"Украинский [Ua]", "Ukraine.lng", "Ukrainian", "uk"},
    {u"Английский [En]", "England.lng", "English", "en"},
    {u"Белорусский [Blr]", "Belarusian.lng", "Belarusian", "ru"},
    {u"Китайский [Chi]", "Chinese.lng", "Chinese", "zh_CN"},
};

template <typename Field> std::array<QString, std::size(kLanguages)> column(Field field) {
    std::array<QString, std::size(kLanguages)> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = field(kLanguages[i]);
    return texts;
}

} // namespace

const std::array<QString, 5>& LanguagePack::FixedCaptions() {
    static const auto c = column([](const Language& l) { return QString::fromUtf16(l.fixedCaption); });
    return c;
}

const std::array<QString, 5>& LanguagePack::FileNames() {
    static const auto f = column([](const Language& l) { return QString::fromLatin1(l.fileName); });
    return f;
}

const char* LanguagePack::CaptionKey(int index) {
    return index >= 0 && std::size_t(index) < std::size(kLanguages)
               ? kLanguages[std::size_t(index)].captionKey
               : "";
}

QString LanguagePack::QtLocale(int index) {
    return index >= 0 && std::size_t(index) < std::size(kLanguages)
               ? QString::fromLatin1(kLanguages[std::size_t(index)].qtLocale)
               : QString::fromLatin1(kLanguages[0].qtLocale);
}

int LanguagePack::IndexForChoice(const QString& choice) {
    const auto& c = FixedCaptions();
    for (int i = 0; i < int(c.size()); ++i)
        if (c[i] == choice)
            return i;
    return 0;
}

QString LanguagePack::PackPath(int index) {
    return AppDir() + QStringLiteral("Language/") + FileNames().at(std::size_t(index));
}

namespace {
LanguagePack& current() {
    static LanguagePack pack;
    return pack;
}
} // namespace

void SetLanguagePack(LanguagePack pack) {
    current() = std::move(pack);
    SetUiTextSource(
        [](const QString& section, const QString& key) { return current().LangText(section, key); });
}
const LanguagePack& CurrentLanguagePack() {
    return current();
}
QString LangText(const QString& section, const QString& key) {
    return current().LangText(section, key);
}
