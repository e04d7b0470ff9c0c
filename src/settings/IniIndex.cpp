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
                                     lines_.emplace_back();
                                 }
                             } else if (line.kind == IniText::Line::Entry && current >= 0) {
                                 entries_.push_back({hashOf(sections_[current], IniText::Fold(line.name)),
                                                     start_ + offset, current});
                                 lines_[size_t(current)].push_back(start_ + offset);
                             }
                             return true;
                         });
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.hash < b.hash; });
    entries_.shrink_to_fit();
    for (std::vector<qsizetype>& l : lines_)
        l.shrink_to_fit();
}

namespace {
IniText::Line lineAt(const QByteArray& text, qsizetype offset) {
    qsizetype end = text.indexOf('\n', offset);
    if (end < 0)
        end = text.size();
    else if (end > offset && text[end - 1] == '\r')
        --end;
    return IniText::ParseLine(IniText::DecodeLine(QByteArrayView(text).sliced(offset, end - offset)));
}
} // namespace

std::vector<std::pair<QString, QString>> IniIndex::section(const QString& section) const {
    std::vector<std::pair<QString, QString>> out;
    const qsizetype index = sections_.indexOf(IniText::Fold(section));
    if (index < 0)
        return out;
    QSet<QString> seen;
    for (const qsizetype offset : lines_[size_t(index)]) {
        IniText::Line line = lineAt(text_, offset);
        const QString folded = IniText::Fold(line.name);
        if (!seen.contains(folded)) {
            seen.insert(folded);
            out.emplace_back(std::move(line.name), std::move(line.value));
        }
    }
    return out;
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
        const IniText::Line line = lineAt(text_, it->offset);
        if (IniText::Fold(line.name) == k)
            return line.value;
    }
    return std::nullopt;
}
