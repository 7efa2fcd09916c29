// SPDX-License-Identifier: GPL-3.0-or-later
// The game's two message boxes: a question answered "OK" or "Annuler", and a
// piece of information closed with "OK". Both show their text as it is.
#pragma once

class QString;
class QWidget;

// Asks under the title "Confirmation"; true when the player chose "OK".
// Enter answers "OK", Escape "Annuler".
bool confirm(QWidget *parent, const QString &text);

// Tells under the title "Information".
void inform(QWidget *parent, const QString &text);
