// SPDX-License-Identifier: GPL-3.0-or-later
// The application's hint service: which control's hint to show, when, and in
// which window. Qt's own tooltip serves only the active window and offers no
// replaceable window, so the game drives hints itself from the mouse's
// comings and goings, and a window class of the game's choosing shows them.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace hints {

// The window a hint is shown in. The service measures the text in `font`
// and hands the window a rectangle fitted to it; a subclass decides how and
// where to show it.
class HintWindow : public QWidget {
    Q_OBJECT
public:
    HintWindow();

    // The font the service lays hint texts out in (the drawing surface's font).
    QFont canvasFont;
    QColor canvasFontColor = Qt::black;

    // Shows `text`; `rect` is the text's box, already placed under the mouse.
    virtual void ActivateHint(const QRect &rect, const QString &text);
    // Hides the window; the next activation finds it hidden.
    virtual void ReleaseHint();

    const QString &caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    QString caption_;
};

// Time for the service: one pending call at a time, replaced by the next.
// The game uses a timer; tests step a clock of their own.
class HintClock {
public:
    virtual ~HintClock() = default;
    virtual void callAfter(int ms, std::function<void()> due) = 0;
    virtual void cancel() = 0;
};

class HintService : public QObject {
    Q_OBJECT
public:
    // Watches every event of the application; the clock defaults to a timer.
    explicit HintService(std::unique_ptr<HintClock> clock = {});
    ~HintService() override;

    // The one service of the application, created at first use.
    static HintService &instance();

    using WindowFactory = std::function<HintWindow *()>;
    // The class the hint window is made from whenever it is created.
    void setHintWindowClass(WindowFactory factory);
    template <class Window> void setHintWindowClass() {
        setHintWindowClass([] { return new Window; });
    }

    // On creates the hint window from the current class; off destroys it.
    bool showHint() const { return showHint_; }
    void setShowHint(bool on);
    HintWindow *hintWindow() const { return window_.get(); }

    // The background the window gets at every showing.
    QColor hintColor = QColor(255, 255, 225);

    int hintPause() const { return hintPause_; }
    void setHintPause(int ms) { hintPause_ = ms; }
    static constexpr int kShortPause = 50;
    static constexpr int kHidePause = 2500;

    // The window whose components hold the hint settings.
    QWidget *mainWindow() const { return mainWindow_; }
    void setMainWindow(QWidget *window) { mainWindow_ = window; }

    // The text's box as the window is given it: the text laid out in the
    // window's font, left-aligned and wrapped at `wrapWidth`, plus 6 by 2.
    QRect hintRect(const QString &text, int wrapWidth) const;

    // What the event filter reports; public so that tests can drive them.
    void mouseOver(QWidget *widget);
    void mouseLeft(QWidget *widget);
    void cancelHint();

    // The control whose hint is pending or shown, and whether it is shown.
    QWidget *hintControl() const { return control_; }
    bool hintShown() const { return shown_; }

    // The nearest widget from `widget` up to its window that has a hint.
    static QWidget *controlWithHint(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showNow();
    void hideNow();

    std::unique_ptr<HintClock> clock_;
    WindowFactory factory_;
    std::unique_ptr<HintWindow> window_;
    bool showHint_ = false;
    int hintPause_ = 500;
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> control_;
    bool shown_ = false;
    // A hint was shown and the mouse has not crossed a place without one
    // since: the next hint comes after the short pause.
    bool hintActive_ = false;
};

inline HintService &hintService() {
    return HintService::instance();
}

} // namespace hints
