// The language pack: any file. Property: each text is what the INI rules give for it, or "0".
#include "FuzzCheck.h"
#include "settings/IniText.h"
#include "settings/LanguagePack.h"

#include <QFile>
#include <QList>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QStringLiteral("/tmp/zelmo-fuzz-pack-%1.lng").arg(::getpid());
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(file) != file.size())
            std::abort();
    }
    const LanguagePack pack(path);
    QString section;
    int checked = 0;
    IniText::ForEachLine(IniText::ToUtf8(file).body, [&](QByteArrayView body, QByteArrayView, qsizetype) {
        const IniText::Line line = IniText::ParseLine(IniText::DecodeLine(body));
        if (line.kind == IniText::Line::Section) {
            section = line.name;
        } else if (line.kind == IniText::Line::Entry) {
            const QString expected = IniText::Find(file, section, line.name).value_or(QStringLiteral("0"));
            FUZZ_CHECK(pack.LangText(section, line.name) == expected);
            FUZZ_CHECK(
                pack.LangText(section.toUpper(), line.name.toLower()) ==
                IniText::Find(file, section.toUpper(), line.name.toLower()).value_or(QStringLiteral("0")));
        }
        return ++checked < 64;
    });
    FUZZ_CHECK(pack.LangText(QStringLiteral("no such section"), QStringLiteral("k")) == QStringLiteral("0"));
    return 0;
}
