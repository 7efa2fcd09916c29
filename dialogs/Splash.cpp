// SPDX-License-Identifier: GPL-3.0-or-later
#include "Splash.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QTimer>
#include <QWindow>

#include "Placement.h"
#include "WindowDescription.h"
#include "ui_Splash.h"

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ui_(new Ui::SplashForm) {
    ui_->setupUi(this);
    applyDescriptionFonts(this);
    useSharpPicture(ui_->Image1, QStringLiteral(":/pictures/splash.png"));
    setFixedSize(324, 202);
    FormCreate();
    centreOnScreen(this);
}

TSplashForm::~TSplashForm() {
    delete ui_;
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

void TSplashForm::waitUntilOnScreen() {
    // Long enough for any compositor at work, short enough that one that
    // never answers costs the player little.
    constexpr int kCompositorWait = 500; // ms
    QWindow *window = windowHandle();
    if (!window || !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return;
    }
    // A Wayland window is on screen only once the compositor has configured
    // it and the window has attached and committed a frame; until then
    // showing and painting it, as on X, puts nothing on screen. The frame
    // goes out as the window is exposed, and an update asked for after that
    // comes only once the compositor has shown it.
    QEventLoop loop;
    waitLoop_ = &loop;
    window->installEventFilter(this);
    if (window->isExposed()) {
        askForUpdate();
    }
    QTimer::singleShot(kCompositorWait, &loop, &QEventLoop::quit);
    loop.exec();
    window->removeEventFilter(this);
    waitLoop_ = nullptr;
}

void TSplashForm::askForUpdate() {
    if (!frameSent_) {
        frameSent_ = true;
        // Queued, so the exposed window has painted and sent its frame first.
        QMetaObject::invokeMethod(
            this, [this] { windowHandle()->requestUpdate(); }, Qt::QueuedConnection);
    }
}

bool TSplashForm::eventFilter(QObject *watched, QEvent *event) {
    if (waitLoop_ && watched == windowHandle()) {
        if (event->type() == QEvent::Expose && windowHandle()->isExposed()) {
            askForUpdate();
        } else if (event->type() == QEvent::UpdateRequest && frameSent_) {
            waitLoop_->quit();
        }
    }
    return QWidget::eventFilter(watched, event);
}
