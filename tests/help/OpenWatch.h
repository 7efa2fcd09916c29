// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for the C library's open functions in a test executable, so that
// a test sees every file the code under test opens, Qt's own reading
// included. While a watch is on, opening anything in the watched directory
// but the one allowed file, a relative name, or anything under /dev or /proc
// is refused and noted: a fault then fails the test instead of hanging it on
// a pipe or reading /dev/zero for ever. Fonts and plug-ins open as usual.
#pragma once

#include <QByteArray>
#include <QList>

namespace openwatch {

void start(const QByteArray &directory, const QByteArray &allowed);
// Stops the watch and returns the names it refused.
QList<QByteArray> stop();

} // namespace openwatch
