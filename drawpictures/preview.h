// SPDX-License-Identifier: GPL-3.0-or-later
// Inspection sheets: the pictures as the game will show them, enlarged.
#pragma once

#include <QDir>

namespace drawpictures {

// Reads the finished pictures from `pictures` (the generator's output) and
// writes sheets into `out`. Returns false if a picture is missing.
bool drawPreviews(const QDir &out, const QDir &pictures);

} // namespace drawpictures
