// The look of the balloon hints that the game shows over its commands.
#pragma once

#include <QColor>
#include <QFont>
#include <QObject>

enum THintDirection : unsigned char { hdUpRight, hdUpLeft, hdDownRight, hdDownLeft };

// Holds the balloon's settings for the window that owns it. For now the
// hints are the platform's plain tooltips; the settings are kept here so that
// the balloon drawing can pick them up.
class TZeltHint : public QObject {
    Q_OBJECT
public:
    explicit TZeltHint(QObject *owner);

    THintDirection HintDirection = hdUpRight;
    QColor HintShadowColor = Qt::gray;
    QFont HintFont;
};
