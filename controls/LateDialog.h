// SPDX-License-Identifier: GPL-3.0-or-later
// A dialog made, hidden, with the main window at start-up, whose controls
// are built at its first showing instead: built with it, the four dialogs
// put the main window on screen about 6 ms later and add 2 MiB to the
// game's peak memory, for windows many games never open.
#pragma once

#include <QDialog>

class LateDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Builds the controls, once; showing the dialog calls it first.
    void buildControls();
    void setVisible(bool visible) override;

protected:
    // Builds the controls from the window description and wires them.
    virtual void createControls() = 0;

private:
    bool built_ = false;
};
