#include "Splash.h"

#include <QGuiApplication>
#include <QPixmapCache>
#include <QScreen>

#include "WindowDescription.h"
#include "ui_Splash.h"

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ui(new Ui::SplashForm) {
    ui->setupUi(this);
    applyDescriptionFonts(this);
    useSharpPicture(ui->Image1, QStringLiteral(":/pictures/splash.png"));
    setFixedSize(324, 202);
    FormCreate();
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
}

TSplashForm::~TSplashForm() {
    delete ui;
    // Its picture is never shown again; the pixmap cache would keep it for
    // the whole game. The main window's pictures are held by their labels and
    // stay.
    QPixmapCache::clear();
}

void TSplashForm::FormCreate() {
    // The picture covers the whole window; nothing is erased beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TSplashForm::paintEvent(QPaintEvent *) {
    painted_ = true;
}
