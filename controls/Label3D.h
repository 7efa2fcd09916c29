// SPDX-License-Identifier: GPL-3.0-or-later
// A label that draws its caption twice: a shadow copy one pixel right and one
// pixel down in ShadowColor, then the caption itself on top.
#pragma once

#include <QColor>
#include <QLabel>

class TLabel3D : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QColor ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE setShowAccelChar)
public:
    explicit TLabel3D(QWidget *owner = nullptr);

    QColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor &colour);
    // An opaque label fills its rectangle with its background colour first.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    // Whether an ampersand marks the next letter as the underlined mnemonic.
    bool ShowAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor shadowColor_;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};
