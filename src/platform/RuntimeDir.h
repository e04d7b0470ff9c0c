#pragma once
#include <QByteArray>
#include <QString>

// The per-user runtime directory that the web engine and the sound server expect. When the
// session provides none, the program makes its own under /tmp, where anyone may have created that
// name first: a directory is used only if it is a real directory (not a link) of this user,
// closed to everyone else.
namespace RuntimeDir {

// Creates `path` (mode 700) when missing; a directory of this user that others can enter is
// closed. False with the reason when the path is anything else or belongs to someone else.
bool Prepare(const QByteArray& path, QString& reason);

// A runtime directory to use: `preferred` when Prepare accepts it, otherwise a fresh private
// directory beside it. Empty when not even that can be made.
QByteArray Choose(const QByteArray& preferred);

// A directory for sockets of this user: `dir` (the session's runtime directory) when it is a real
// directory of this user that nobody else can write to, where no one else can plant or replace a
// socket; otherwise one of our own, as Choose() makes it. Empty when not even that can be made.
QByteArray ForSockets(const QByteArray& dir);

} // namespace RuntimeDir
