// The INI text: any file, then one write. Properties: the index answers exactly what a plain scan
// answers; a storable value written reads back unchanged; every other key keeps its value.
#include "FuzzCheck.h"
#include "settings/IniIndex.h"
#include "settings/IniText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QList>

#include <utility>

namespace {
QString textFrom(FuzzedDataProvider& in, size_t max) {
    // Raw UTF-16 units half of the time, so broken surrogates and NULs come up as well.
    if (in.ConsumeBool()) {
        const std::string s = in.ConsumeRandomLengthString(max);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    QString out;
    const size_t n = in.ConsumeIntegralInRange<size_t>(0, max);
    for (size_t i = 0; i < n && in.remaining_bytes() > 0; ++i)
        out += QChar(in.ConsumeIntegral<char16_t>());
    return out;
}

// Every section/key pair the file names, as a lookup would spell it.
QList<std::pair<QString, QString>> namesIn(const QByteArray& file) {
    QList<std::pair<QString, QString>> names;
    QString section;
    IniText::ForEachLine(IniText::ToUtf8(file).body, [&](QByteArrayView body, QByteArrayView, qsizetype) {
        const IniText::Line line = IniText::ParseLine(IniText::DecodeLine(body));
        if (line.kind == IniText::Line::Section)
            section = line.name;
        else if (line.kind == IniText::Line::Entry && names.size() < 64)
            names.append({section, line.name});
        return true;
    });
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QString section = textFrom(in, 12);
    const QString key = textFrom(in, 12);
    const QString value = textFrom(in, 40);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray file(rest.data(), qsizetype(rest.size()));

    const IniIndex index(file);
    QList<std::pair<QString, QString>> names = namesIn(file);
    names.append({section, key});
    QList<std::optional<QString>> before;
    for (const auto& [s, k] : names) {
        before.append(IniText::Find(file, s, k));
        FUZZ_CHECK(index.find(s, k) == before.last());
    }

    if (!IniText::CanStore(value) || !IniText::CanStoreName(section, true) ||
        !IniText::CanStoreName(key, false))
        return 0;
    const QByteArray written = IniText::WithValue(file, section, key, value);
    const IniIndex after(written);
    FUZZ_CHECK(IniText::Find(written, section, key) == value);
    FUZZ_CHECK(after.find(section, key) == value);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const auto& [s, k] = names[i];
        if (IniText::SameName(s, section) && IniText::SameName(k, key))
            continue;
        FUZZ_CHECK(IniText::Find(written, s, k) == before[i]);
        FUZZ_CHECK(after.find(s, k) == before[i]);
    }
    return 0;
}
