#pragma once
#include <QStringList>

// channel-catalog match FILE|URL…: the grid's TV slots and the playlist entries that play them.
int MatchCommand(const QStringList& sources);
