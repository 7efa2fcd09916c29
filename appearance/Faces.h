// SPDX-License-Identifier: GPL-3.0-or-later
// The windows name the faces of another desktop: "System" for the main window
// and the dialogs, "MS Sans Serif" for the balloons, "Times New Roman" and
// "Arial" for the labels. A Linux machine may hold none of them, and its
// default sans-serif may even resolve to a typewriter face when only a few
// font packages are installed. mapWindowsFaces() gives each of these names a
// proportional face of the right kind among those the machine has.
#pragma once

#include <QString>

namespace appearance {

// Call once, after the application object exists and before any window.
void mapWindowsFaces();

// Gives the application's font, used by message boxes, buttons and the help,
// the face of "System" when the desktop's choice fell on a typewriter face.
// After mapWindowsFaces(), before a window that uses that font is laid out.
void keepApplicationFontProportional();

// The installed face drawn for `family`, one of the names above, once
// mapWindowsFaces() has run; otherwise `family` itself. A font that names the
// installed face spares the engine a failed look-up of the absent one, which
// has fontconfig compute its fallbacks at the first paint.
QString installedFace(const QString &family);

} // namespace appearance
