#pragma once
#include <QByteArray>

// Reads what is left of an open file into out (cleared first), retrying reads a signal interrupted.
// False on a read error.
bool ReadWholeFd(int fd, QByteArray& out);
