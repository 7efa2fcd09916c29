#include "EndMessage.h"

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
        p.setFont(message_->font());
        const QRect box = message_->geometry();
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
