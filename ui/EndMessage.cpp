// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndMessage.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int kOutline = 2; // the dark copies lie up to this far right and down

} // namespace

class EndMessageText : public QWidget {
public:
    EndMessageText(QWidget *parent, const EndMessage *message)
        : QWidget(parent), message_(message) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(parent->rect());
    }

protected:
    void paintEvent(QPaintEvent *) override {
        const EndMessage::Layout layout = message_->layout();
        if (layout.lines.isEmpty()) {
            return;
        }
        QPainter p(this);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(layout.font);
        for (qsizetype i = 0; i < layout.lines.size(); ++i) {
            const QRect box = layout.boxes[i];
            const QString &line = layout.lines[i];
            // A dark outline keeps the yellow legible on every board picture.
            p.setPen(QColor(60, 30, 0));
            for (const QPoint d : {QPoint(kOutline, kOutline), QPoint(1, 1)}) {
                p.drawText(box.translated(d), Qt::AlignCenter | Qt::TextSingleLine, line);
            }
            p.setPen(message_->palette().color(QPalette::WindowText));
            p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, line);
        }
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

void EndMessage::setClearArea(const QRect &area) {
    clearArea_ = area;
    text_->update();
}

// The message's own size if it fits; otherwise, of one line and of every way
// to break it in two at a space, the one that can be drawn largest.
EndMessage::Layout EndMessage::layout() const {
    const QString message = text();
    if (message.isEmpty()) {
        return {};
    }
    const QRect area = clearArea_.isValid() ? clearArea_ : parentWidget()->rect();
    const QRect box = geometry();
    const int cx = box.center().x();
    const int cy = box.center().y();
    const int width = 2 * qMin(cx - area.left(), area.right() - cx) - kOutline;
    const int height = 2 * qMin(cy - area.top(), area.bottom() - cy) - kOutline;
    const QFont own = font();
    const int ownSize = own.pixelSize() > 0 ? own.pixelSize() : QFontInfo(own).pixelSize();

    QList<QStringList> choices = {{message}};
    for (qsizetype at = message.indexOf(u' '); at > 0; at = message.indexOf(u' ', at + 1)) {
        choices.append({message.left(at), message.mid(at + 1)});
    }
    Layout best;
    int bestSize = 0;
    for (const QStringList &lines : std::as_const(choices)) {
        int size = ownSize;
        while (size > 1) {
            QFont f = own;
            f.setPixelSize(size);
            const QFontMetrics m(f);
            int widest = 0;
            for (const QString &line : lines) {
                widest = qMax(widest, m.horizontalAdvance(line));
            }
            if (widest <= width && m.height() * lines.size() <= height) {
                break;
            }
            --size;
        }
        if (size > bestSize) {
            bestSize = size;
            best.font = own;
            best.font.setPixelSize(size);
            best.lines = lines;
        }
    }
    const int lineHeight = QFontMetrics(best.font).height();
    const int top = cy - lineHeight * int(best.lines.size()) / 2;
    for (qsizetype i = 0; i < best.lines.size(); ++i) {
        best.boxes.append(QRect(cx - width / 2, top + int(i) * lineHeight, width, lineHeight));
    }
    return best;
}

void EndMessage::paintEvent(QPaintEvent *) {}
