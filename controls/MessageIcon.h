// SPDX-License-Identifier: GPL-3.0-or-later
// The game's message boxes, and the size of their icon.
#pragma once

#include <QMessageBox>

class QPushButton;

// Draws the box's icon 32 pixels square, the size the boxes are laid out for,
// whatever size the toolkit's icons come in. Call it once the icon is set.
void keepMessageIconSize(QMessageBox &box);

// A box as every one of the game's is made: its icon at that size, its text
// taken as plain text, since it may quote bytes from a file and must never
// pass for markup, and an "OK" button.
class GameMessageBox : public QMessageBox {
public:
    GameMessageBox(Icon icon, const QString &title, const QString &text, QWidget *parent);
    QPushButton *okButton() const { return ok_; }

private:
    QPushButton *ok_ = nullptr;
};
