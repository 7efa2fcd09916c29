// SPDX-License-Identifier: GPL-3.0-or-later
#include "HintService.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace hints {

namespace {

class TimerClock : public HintClock {
public:
    TimerClock() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // The call may schedule the next one, so it is taken out first.
            auto due = std::exchange(due_, {});
            if (due) {
                due();
            }
        });
    }
    void callAfter(int ms, std::function<void()> due) override {
        due_ = std::move(due);
        timer_.start(ms);
    }
    void cancel() override {
        timer_.stop();
        due_ = {};
    }

private:
    QTimer timer_;
    std::function<void()> due_;
};

} // namespace

// ---- The plain hint window ----------------------------------------------

HintWindow::HintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    canvasFont = font();
}

void HintWindow::ActivateHint(const QRect &rect, const QString &text) {
    caption_ = text;
    setGeometry(rect);
    show();
    update();
}

void HintWindow::ReleaseHint() {
    hide();
}

void HintWindow::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setFont(canvasFont);
    p.setPen(canvasFontColor);
    p.drawText(rect().adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::TextWordWrap, caption_);
}

// ---- The service -----------------------------------------------------------

HintService::HintService(std::unique_ptr<HintClock> clock)
    : clock_(clock ? std::move(clock) : std::make_unique<TimerClock>()) {
    qApp->installEventFilter(this);
    setShowHint(true);
}

HintService::~HintService() {
    if (qApp) {
        qApp->removeEventFilter(this);
    }
}

HintService &HintService::instance() {
    // Lives as long as the process: the hint window it holds must never
    // outlive the application object, so it is simply never destroyed.
    static HintService *service = new HintService;
    return *service;
}

void HintService::setHintWindowClass(WindowFactory factory) {
    factory_ = std::move(factory);
}

void HintService::setShowHint(bool on) {
    if (on == showHint_) {
        return;
    }
    cancelHint();
    showHint_ = on;
    if (on) {
        window_.reset(factory_ ? factory_() : new HintWindow);
        QPalette p = window_->palette();
        p.setColor(QPalette::Window, hintColor);
        window_->setPalette(p);
    } else {
        window_.reset();
    }
}

QRect HintService::hintRect(const QString &text, int wrapWidth) const {
    const QFont font = window_ ? window_->canvasFont : QApplication::font();
    const QRect box = QFontMetrics(font).boundingRect(QRect(0, 0, wrapWidth, 0),
                                                      Qt::AlignLeft | Qt::TextWordWrap, text);
    return {0, 0, box.width() + 6, box.height() + 2};
}

QWidget *HintService::controlWithHint(QWidget *widget) {
    for (QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (qobject_cast<HintWindow *>(w)) {
            return nullptr;
        }
        if (!w->toolTip().isEmpty()) {
            return w;
        }
    }
    return nullptr;
}

void HintService::mouseOver(QWidget *widget) {
    if (!widget) {
        // A place without a hint: the next hint waits the full pause again.
        hintActive_ = false;
    }
    if (widget == control_) {
        return;
    }
    hideNow();
    clock_->cancel();
    control_ = widget;
    if (!widget) {
        return;
    }
    clock_->callAfter(hintActive_ ? kShortPause : hintPause_, [this] { showNow(); });
}

void HintService::mouseLeft(QWidget *widget) {
    if (!control_ || !widget || (widget != control_ && !widget->isAncestorOf(control_))) {
        return;
    }
    hideNow();
    clock_->cancel();
    control_ = nullptr;
}

void HintService::cancelHint() {
    hideNow();
    clock_->cancel();
    control_ = nullptr;
    hintActive_ = false;
}

void HintService::showNow() {
    if (!control_ || !window_ || !control_->isVisible()) {
        return;
    }
    const QString text = control_->toolTip();
    if (text.isEmpty()) {
        return;
    }
    const QPoint mouse = QCursor::pos();
    QScreen *screen = QGuiApplication::screenAt(mouse);
    if (!screen) {
        screen = control_->screen();
    }
    const QRect box = hintRect(text, screen->geometry().width());
    QPalette p = window_->palette();
    p.setColor(QPalette::Window, hintColor);
    window_->setPalette(p);
    // Where a plain window would stand: below the pointer's arrow.
    window_->ActivateHint(box.translated(mouse + QPoint(0, 20)), text);
    shown_ = true;
    hintActive_ = true;
    clock_->callAfter(kHidePause, [this] { hideNow(); });
}

void HintService::hideNow() {
    if (shown_ && window_) {
        window_->ReleaseHint();
    }
    shown_ = false;
}

bool HintService::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ToolTip:
        // Every hint goes through this service, never through Qt's tooltip.
        return true;
    case QEvent::Enter:
        if (auto *w = qobject_cast<QWidget *>(watched)) {
            mouseOver(controlWithHint(w));
        }
        break;
    case QEvent::Leave:
        mouseLeft(qobject_cast<QWidget *>(watched));
        break;
    case QEvent::MouseMove:
        if (auto *w = qobject_cast<QWidget *>(watched)) {
            auto *move = static_cast<QMouseEvent *>(event);
            // A move that a child passed up to its parent still belongs to
            // the child under the mouse.
            if (move->buttons() == Qt::NoButton && w->rect().contains(move->position().toPoint())) {
                QWidget *under = w->childAt(move->position().toPoint());
                mouseOver(controlWithHint(under ? under : w));
            }
        }
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationStateChange:
        cancelHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hints
