// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QIcon;
class QString;

// A button's picture with its background colour, the colour of its bottom
// left pixel, left out, so that the button's own face shows through; drawn
// for a screen of `devicePixelRatio`.
QIcon buttonGlyph(const QString &resource, qreal devicePixelRatio);
