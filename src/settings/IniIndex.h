#pragma once
#include "settings/IniText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// Fast lookups in one INI file: built in one pass, then each lookup reads one line. It gives
// exactly what IniText::Find gives for the same bytes, without scanning the file again. It keeps
// the file's UTF-8 text and a small entry per key, not a decoded copy of every line.
class IniIndex {
public:
    explicit IniIndex(const QByteArray& file);
    std::optional<QString> find(const QString& section, const QString& key) const;
    // The keys and values of the first section of that name, in file order; of keys named alike,
    // the first, as find gives it.
    std::vector<std::pair<QString, QString>> section(const QString& section) const;

private:
    struct Entry {
        size_t hash;       // of the folded section and key names
        qsizetype offset;  // where the key's line starts in text_
        qsizetype section; // index into sections_
    };
    static size_t hashOf(const QString& foldedSection, const QString& foldedKey);

    QByteArray text_;                           // the file itself (shared, not copied) or its UTF-8 form
    qsizetype start_ = 0;                       // where the lines begin, after a UTF-8 mark
    QStringList sections_;                      // folded names, first occurrence of each only
    std::vector<Entry> entries_;                // by hash, in file order within one hash
    std::vector<std::vector<qsizetype>> lines_; // per section, where its entries' lines start
};
