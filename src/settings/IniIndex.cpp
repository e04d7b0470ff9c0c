#include "settings/IniIndex.h"

#include <QHash>
#include <QSet>

#include <algorithm>

size_t IniIndex::hashOf(const QString& foldedSection, const QString& foldedKey) {
    return qHashMulti(0, foldedSection, foldedKey);
}

IniIndex::IniIndex(const QByteArray& file) {
    const IniText::Utf8File utf8 = IniText::ToUtf8(file);
    if (!utf8.converted) {
        text_ = file; // UTF-8 already: share the bytes instead of copying them
        start_ = utf8.mark.size();
    } else {
        text_ = utf8.body;
    }
    // Only the first section of a name is searched, as the profile-string calls do: the keys of a
    // repeated section are left out.
    QSet<QString> seen;
    qsizetype current = -1;
    IniText::ForEachLine(QByteArrayView(text_).sliced(start_),
                         [&](QByteArrayView body, QByteArrayView, qsizetype offset) {
                             const IniText::Line line = IniText::ParseLine(IniText::DecodeLine(body));
                             if (line.kind == IniText::Line::Section) {
                                 const QString name = IniText::Fold(line.name);
                                 current = -1;
                                 if (!seen.contains(name)) {
                                     seen.insert(name);
                                     current = sections_.size();
                                     sections_ << name;
                                 }
                             } else if (line.kind == IniText::Line::Entry && current >= 0) {
                                 entries_.push_back({hashOf(sections_[current], IniText::Fold(line.name)),
                                                     start_ + offset, current});
                             }
                             return true;
                         });
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    entries_.shrink_to_fit();
}

std::optional<QString> IniIndex::find(const QString& section, const QString& key) const {
    const QString s = IniText::Fold(section);
    const QString k = IniText::Fold(key);
    const size_t h = hashOf(s, k);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), h,
                               [](const Entry& e, size_t v) { return e.hash < v; });
    // Equal hashes stay in file order, so the first real match is the first key of that name.
    for (; it != entries_.end() && it->hash == h; ++it) {
        if (sections_[it->section] != s)
            continue;
        qsizetype end = text_.indexOf('\n', it->offset);
        if (end < 0)
            end = text_.size();
        else if (end > it->offset && text_[end - 1] == '\r')
            --end;
        const IniText::Line line = IniText::ParseLine(
            IniText::DecodeLine(QByteArrayView(text_).sliced(it->offset, end - it->offset)));
        if (IniText::Fold(line.name) == k)
            return line.value;
    }
    return std::nullopt;
}
