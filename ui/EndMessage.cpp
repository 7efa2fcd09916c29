#include "EndMessage.h"

#include <QFontMetrics>
#include <QPainter>

class EndMessageText : public QWidget {
public:
    EndMessageText(QWidget *parent, const EndMessage *message)
        : QWidget(parent), message_(message) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(parent->rect());
    }

protected:
    void paintEvent(QPaintEvent *) override {
        const QString text = message_->text();
        if (text.isEmpty()) {
            return;
        }
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QRect box = message_->geometry();
        p.setFont(fittingFont(text, box));
        // As wide as the window, as tall as the box, centred on the box.
        const QRect area(0, box.top(), width(), box.height());
        const QRect shifted = area.translated(box.center().x() - area.center().x(), 0);
        // A dark outline keeps the yellow legible on every board picture.
        p.setPen(QColor(60, 30, 0));
        for (const QPoint d : {QPoint(2, 2), QPoint(1, 1)}) {
            p.drawText(shifted.translated(d), Qt::AlignCenter | Qt::TextSingleLine, text);
        }
        p.setPen(message_->palette().color(QPalette::WindowText));
        p.drawText(shifted, Qt::AlignCenter | Qt::TextSingleLine, text);
    }

private:
    // The message's own size, unless the text centred on the box would run
    // off the window: then just small enough to stay whole inside it.
    QFont fittingFont(const QString &text, const QRect &box) const {
        QFont f = message_->font();
        const int room = 2 * qMin(box.center().x(), width() - 1 - box.center().x()) - 2 * kMargin;
        const int needed = QFontMetrics(f).horizontalAdvance(text) + kOutline;
        if (needed > room && f.pixelSize() > 0) {
            f.setPixelSize(qMax(1, f.pixelSize() * room / needed));
        }
        return f;
    }

    static constexpr int kMargin = 4;
    static constexpr int kOutline = 2;
    const EndMessage *message_;
};

EndMessage::EndMessage(QWidget *parent) : QLabel(parent) {
    // The text layer goes on top of everything created so far, the box too.
    text_ = new EndMessageText(parent, this);
}

void EndMessage::setMessage(const QString &text) {
    if (text == QLabel::text()) {
        return;
    }
    setText(text);
    text_->update();
}

void EndMessage::setActive(bool active) {
    setEnabled(active);
    setAttribute(Qt::WA_TransparentForMouseEvents, !active);
}

void EndMessage::paintEvent(QPaintEvent *) {}
