#pragma once
#include "radio/StationDirectory.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How the station directory names one of the catalog's radio stations (data/radio/builtin-stations.tsv).
struct StationAlias {
    QString key;         // the station's key in Setting.ini
    QString catalogName; // as the catalog spells it
    QString country;     // searched first; empty for any
    QString search;      // the directory's name search
    QStringList names;   // the directory's names for the station
};

// The directory entry to play among those found: one the directory names as the station (or that
// carries every word of the search), whose last check passed, in a format played here, with an
// http(s) stream not refused; the most votes, then the highest bitrate.
std::optional<DirectoryStation> PickStation(const QList<DirectoryStation>& found, const StationAlias& alias,
                                            const QStringList& refused = {});
// A format the decoders of the GStreamer plug-ins the program depends on play.
bool PlayableCodec(const QString& codec);
