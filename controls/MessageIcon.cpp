// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageIcon.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>

namespace {

// Styles ask for message-box icons 48 pixels square. Qt up to 6.7 answers
// with its 32-pixel icons; from 6.8 on its icons come larger, and each box
// grows by 16 pixels both ways.
class MessageIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_MessageBoxIconSize) {
            return 32;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void keepMessageIconSize(QMessageBox &box) {
    // Made once, over the style the game runs with; it goes with the
    // application.
    static QPointer<MessageIconStyle> style;
    if (!style) {
        style = new MessageIconStyle(QApplication::style()->name());
        style->setParent(qApp);
    }
    box.setStyle(style);
    // The icon is drawn again at the style's size.
    box.setIcon(box.icon());
}

GameMessageBox::GameMessageBox(Icon icon, const QString &title, const QString &text,
                               QWidget *parent)
    : QMessageBox(icon, title, text, NoButton, parent) {
    keepMessageIconSize(*this);
    setTextFormat(Qt::PlainText);
    ok_ = addButton(QStringLiteral("OK"), AcceptRole);
}
