// Helpers for windows built from Designer descriptions.
#pragma once

class QWidget;

// Designer only records font sizes in points, while the game's windows are
// laid out with character heights in pixels. A description therefore gives
// each widget whose font needs it a dynamic property "pixelSize"; this turns
// it into QFont::setPixelSize for the widget and everything below it.
void applyPixelFonts(QWidget *root);
