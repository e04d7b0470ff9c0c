#pragma once
#include <QByteArray>
#include <QString>

// How a station's song titles are encoded. Many Russian stations send Windows-1251, some KOI8-R,
// and Western ones Latin-1 (Windows-1252), instead of UTF-8.
enum class TitleEncoding { Auto, Utf8, Windows1251, Koi8R, Windows1252 };

// The stored form of an encoding choice ("auto", "utf-8", "windows-1251", "koi8-r",
// "windows-1252"; "latin-1" and "iso-8859-1" read as the last); an unknown or empty text is Auto.
TitleEncoding titleEncodingFromName(const QString& name);
QString titleEncodingName(TitleEncoding encoding);

// Raw title bytes as the stream sent them, turned into text. Auto keeps valid UTF-8; anything else
// is read as Windows-1252 (Latin-1), Windows-1251 and KOI8-R, and the reading whose words look
// most like words wins: Latin words hold an accented letter here and there, Cyrillic words never
// mix in Latin letters. A forced encoding is applied as it is (invalid UTF-8 then shows
// replacement characters).
QString decodeTitle(const QByteArray& raw, TitleEncoding encoding = TitleEncoding::Auto);

// How much a text looks like Cyrillic words, per letter (higher is better); exposed for tests.
double cyrillicPlausibility(const QString& text);
// Faults of a reading (lower is better): words that mix Latin and Cyrillic letters, Latin words
// made mostly of accented letters, symbols inside words, box drawing and control characters.
int readingFaults(const QString& text);
