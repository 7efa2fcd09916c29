// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the game's pictures from the resources, as the game does. It lives in
// a static library of its own so that the test sees the resources only
// through a library, which is how the game's executable gets them.
#pragma once

#include <QImage>
#include <QString>

namespace probe {

// The picture at a resource path such as ":/pictures/plateau1.bmp"; a null
// image if there is none.
QImage picture(const QString &path);

} // namespace probe
