#pragma once
#include <QString>
#include <QStringList>
#include <QStringView>

// Keys that let one channel written in Cyrillic and in Latin letters meet: "НТВ", "NTV HD (1080p)"
// and the guide id "NTV.ru@HD" all give "ntv". A name loses the annotations playlists add (a
// resolution in brackets, "[Geo-blocked]", "[Not 24/7]", a quality word, the home country), a word
// that mixes scripts is read in the script its other letters say (look-alikes), Cyrillic letters
// (Russian, Ukrainian, Belarusian, Kazakh) are transliterated and the usual spelling variants of a
// transliteration are folded (kh/h, ts/c, y/j/i, doubled letters). A name ending in the word "TV"
// also gives the key without it ("Мир ТВ" and "Мир"). Different channels keep different keys: the
// number, a region in brackets, a time shift ("+2") all stay.
QStringList ChannelMatchKeys(QStringView name);

// The keys of the channel part of a guide id written as playlists write it, "<Id>.<cc>@<feed>"
// ("ChannelOne.ru@HD" gives "chanelone"); the Id's camel case separates its words.
QStringList TvgIdKeys(QStringView tvgId);

// The country of a guide id ("ru" of "ChannelOne.ru@HD"): two letters after its last dot, lower
// case; empty when the id has none.
QString TvgIdCountry(QStringView tvgId);

// The feed of a guide id ("HD" of "ChannelOne.ru@HD"), empty when none.
QString TvgIdFeed(QStringView tvgId);

// Whether a display name says the channel is shifted in time ("ТВ-3 +2", "Мир -1 (540p)").
bool IsTimeShiftName(QStringView name);

// Whether a feed is the channel shifted in time ("Plus2", "Minus1"): another schedule, not a mirror.
bool IsTimeShiftFeed(QStringView feed);
