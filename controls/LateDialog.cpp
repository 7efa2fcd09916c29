// SPDX-License-Identifier: GPL-3.0-or-later
#include "LateDialog.h"

void LateDialog::buildControls() {
    if (!built_) {
        built_ = true;
        createControls();
    }
}

void LateDialog::setVisible(bool visible) {
    if (visible) {
        buildControls();
    }
    QDialog::setVisible(visible);
}
