// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for windows built from Designer descriptions.
#pragma once

class QLabel;
class QString;
class QWidget;

// Designer only records font sizes in points, while the game's windows are
// laid out with character heights in pixels. A description therefore gives
// each widget whose font needs it a dynamic property "pixelSize"; this turns
// it into QFont::setPixelSize for the widget and everything below it.
// It also names, in each font a description sets, the installed face the
// machine draws for the family named there (see appearance::installedFace).
void applyDescriptionFonts(QWidget *root);

// A description names the plain drawing of its pictures; on a screen with
// more device pixels than pixels this puts the twice-as-large drawing of
// `resource` in the label instead, at the same size in the window.
void useSharpPicture(QLabel *label, const QString &resource);
