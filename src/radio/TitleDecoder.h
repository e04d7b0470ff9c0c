#pragma once
#include <QByteArray>
#include <QString>

// How a station's song titles are encoded. Many Russian stations send Windows-1251, some KOI8-R,
// instead of UTF-8.
enum class TitleEncoding { Auto, Utf8, Windows1251, Koi8R };

// The stored form of an encoding choice ("auto", "utf-8", "windows-1251", "koi8-r"); an unknown
// or empty text is Auto.
TitleEncoding titleEncodingFromName(const QString& name);
QString titleEncodingName(TitleEncoding encoding);

// Raw title bytes as the stream sent them, turned into text. Auto keeps valid UTF-8; anything else
// is read as Windows-1251 unless KOI8-R reads as more plausible Russian text. A forced encoding is
// applied as it is (invalid UTF-8 then shows replacement characters).
QString decodeTitle(const QByteArray& raw, TitleEncoding encoding = TitleEncoding::Auto);

// How much a text looks like Cyrillic words, per letter (higher is better); exposed for tests.
double cyrillicPlausibility(const QString& text);
