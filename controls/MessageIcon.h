// The size of the icon in the game's message boxes.
#pragma once

class QMessageBox;

// Draws the box's icon 32 pixels square, the size the boxes are laid out for,
// whatever size the toolkit's icons come in. Call it once the icon is set.
void keepMessageIconSize(QMessageBox &box);
