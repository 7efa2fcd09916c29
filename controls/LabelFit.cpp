// SPDX-License-Identifier: GPL-3.0-or-later
#include "LabelFit.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

void squeezeToFit(QLabel *label) {
    QFont font = label->font();
    const QString text = label->text().trimmed();
    const int room = label->contentsRect().width();
    // Each stretch tried loads a font. The width grows with the stretch, so
    // the width at full stretch points close to the answer, and a step or two
    // from there finds the widest stretch that fits, as trying every one down
    // from 100 would.
    const auto width = [&](int stretch) {
        font.setStretch(stretch);
        return QFontMetrics(font).horizontalAdvance(text);
    };
    constexpr int kNarrowest = 51;
    int stretch = 100;
    const int full = width(stretch);
    if (full > room) {
        stretch = std::clamp(100 * room / full, kNarrowest, 99);
        while (stretch > kNarrowest && width(stretch) > room) {
            --stretch;
        }
        while (stretch < 99 && width(stretch + 1) <= room) {
            ++stretch;
        }
    }
    font.setStretch(stretch);
    label->setFont(font);
}
