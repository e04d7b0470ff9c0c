#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The INI text rules shared by Setting.ini and the language packs. They follow the classic
// profile-string calls, so hand-edited files read as they always did: names match without regard
// to letter case, blanks around names and values are dropped, and one pair of matching quotes
// around a value is removed.
//
// Every reader and writer goes through the same two steps, so they always agree on what a file
// says: ToUtf8 (the file's encoding) and then DecodeLine for each line.
namespace IniText {

// A file as UTF-8 lines: UTF-16 (with its mark) is converted, a leading UTF-8 mark is set apart so
// that a rewrite can keep it.
struct Utf8File {
    QByteArray mark; // the leading UTF-8 mark, or empty
    QByteArray body;
    bool converted = false; // from UTF-16: body is not the file's own bytes
};
Utf8File ToUtf8(const QByteArray& bytes);

// The text of one line (without its line end). Malformed or cut-off UTF-8 becomes U+FFFD; a mark
// at the start of a later line (two files joined) stays as U+FEFF, which counts as a blank.
QString DecodeLine(QByteArrayView line);

// Calls fn(body, end, offset) for each line of UTF-8 text: body without its line end, end being
// "\n", "\r\n" or empty for a last line without one, offset where the line starts.
template <class Fn> void ForEachLine(QByteArrayView text, Fn&& fn) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype nl = text.indexOf('\n', start);
        if (nl < 0) {
            fn(text.sliced(start), QByteArrayView(), start);
            return;
        }
        qsizetype bodyEnd = nl;
        if (bodyEnd > start && text[bodyEnd - 1] == '\r')
            --bodyEnd;
        if (!fn(text.sliced(start, bodyEnd - start), text.sliced(bodyEnd, nl + 1 - bodyEnd), start))
            return;
        start = nl + 1;
    }
}

struct Line {
    enum Kind { Other, Section, Entry };
    Kind kind = Other;
    QString name;  // section or key name, trimmed
    QString value; // entry value as read: trimmed, one pair of quotes removed
};
// One line without its line end. Lines that are neither "[name]" nor "key=value" (comments,
// blanks, stray text) are Other and take no part in lookups.
Line ParseLine(QStringView line);

// Names compare by their case-folded form.
QString Fold(const QString& name);
bool SameName(const QString& a, const QString& b);

// The value of the first matching key in the first matching section of a file, if any.
std::optional<QString> Find(const QByteArray& file, const QString& section, const QString& key);

// The file with one key set, every other line kept byte for byte (a UTF-16 file comes back as
// UTF-8). The caller checks the names and the value with CanStoreName/CanStore first.
QByteArray WithValue(const QByteArray& file, const QString& section, const QString& key,
                     const QString& value);

struct Change {
    QString section;
    QString key;
    QString value;
};
// The file with several keys set in one pass, as if WithValue were called for each in turn: a
// key missing from its section goes after the section's last entry, a missing section is added
// at the end with its keys in the order given. No two changes may name the same key.
QByteArray WithValues(const QByteArray& file, const std::vector<Change>& changes);

// The text to put after "key=" so that ParseLine gives back exactly `value`.
QString EncodeValue(const QString& value);
// A one-line value reads back unchanged unless it holds a line break, a NUL or half of a
// surrogate pair (which has no UTF-8 form).
bool CanStore(const QString& value);
// A section or key name that reads back as itself and as nothing else.
bool CanStoreName(const QString& name, bool isSection);

} // namespace IniText
