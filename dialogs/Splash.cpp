#include "Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

QLabel *titleLabel(QWidget *parent, const QString &text, QRect geometry, int pixels,
                   const QColor &colour) {
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    QFont f(u"Times New Roman"_s);
    f.setPixelSize(pixels);
    f.setBold(true);
    f.setItalic(true);
    // The captions are plain Latin text the font covers, so no fallback
    // fonts need looking up before the first paint.
    f.setStyleStrategy(QFont::NoFontMerging);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

} // namespace

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      background_(u":/pictures/splash.png"_s) {
    setObjectName(u"SplashForm"_s);
    // The picture covers the whole window; nothing is erased beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(324, 202);
    titleLabel(this, u"Veltrano"_s, {35, 104, 253, 63}, 56, Qt::white);
    titleLabel(this, u"Chargement en cours ..."_s, {67, 172, 189, 24}, 19, Qt::red);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
}

void TSplashForm::paintEvent(QPaintEvent *) {
    painted_ = true;
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128));
    if (!background_.isNull()) {
        p.drawPixmap(0, 0, background_);
    }
}
