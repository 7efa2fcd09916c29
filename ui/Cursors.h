// SPDX-License-Identifier: GPL-3.0-or-later
// The game's cursors, registered under fixed numbers. A widget is given a
// number; the number decides which cursor shows over it.
#pragma once

#include <QtGlobal>

class QWidget;

inline constexpr int crDefault = 0;
inline constexpr int crMainHaut = 103;
inline constexpr int crMain = 150;
inline constexpr int crDeplace = 151;
inline constexpr int crImpossible = 152;

// Loads the cursor pictures by name from the resources, the twice-as-large
// ones (with their hot spots doubled) on a screen with more than one device
// pixel to a pixel. A number whose picture is missing stays on the arrow.
void registerCursors(qreal devicePixelRatio = 1.0);

void setCursorNumber(QWidget *widget, int number);
int cursorNumber(const QWidget *widget);
