#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The INI text rules shared by Setting.ini and the language packs. They follow the classic
// profile-string calls, so hand-edited files read as they always did: names match without regard
// to letter case, blanks around names and values are dropped, and one pair of matching quotes
// around a value is removed.
namespace IniText {

// The whole file as text: UTF-8 with or without a byte-order mark, or UTF-16 with its mark.
QString Decode(const QByteArray& bytes);
bool IsUtf16(const QByteArray& bytes);

struct Line {
    enum Kind { Other, Section, Entry };
    Kind kind = Other;
    QString name;  // section or key name, trimmed
    QString value; // entry value as read: trimmed, one pair of quotes removed
};
// One line without its line end. Lines that are neither "[name]" nor "key=value" (comments,
// blanks, stray text) are Other and take no part in lookups.
Line ParseLine(QStringView line);

bool SameName(const QString& a, const QString& b);

// The value of the first matching key in the first matching section, if any.
std::optional<QString> Find(const QString& text, const QString& section, const QString& key);

// The text to put after "key=" so that ParseLine gives back exactly `value`. Line breaks cannot
// live in a one-line value; the caller must refuse them (see CanStore).
QString EncodeValue(const QString& value);
bool CanStore(const QString& value);

} // namespace IniText
