#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <functional>

#include "Faces.h"
#include "Main.h"
#include "Splash.h"
#include "Startup.h"
#include "WarmStart.h"

using namespace Qt::StringLiterals;

namespace {

// Runs `work` once `window` has been painted for the first time, after its
// picture has gone out to the screen: for start-up work nothing on it needs.
class AfterFirstFrame : public QObject {
public:
    AfterFirstFrame(QWidget *window, std::function<void()> work)
        : QObject(window), work_(std::move(work)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so the frame being painted is flushed first.
            QTimer::singleShot(0, watched, std::move(work_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

int main(int argc, char *argv[]) {
    // Both before the toolkit starts: the environment is read by the bus
    // library as the first label appears, and the font configuration is
    // built while the toolkit connects to the display.
    platform::skipFutileBusAutolaunch();
    platform::FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    fonts.wait();
    // On X (and offscreen) every plug-in the game needs is loaded by now, and
    // PNG and BMP are built into Qt, so looking for image plug-ins would only
    // cost start-up time. Other platforms load theirs later: Wayland's shell,
    // buffer and decoration plug-ins come with the first windows.
    if (const QString platform = QGuiApplication::platformName();
        platform == u"xcb"_s || platform == u"offscreen"_s) {
        QCoreApplication::setLibraryPaths({});
    }
    QCoreApplication::setOrganizationName(u"Veltrano"_s);
    // Ties the windows to the menu entry: the Wayland app id, and the hint
    // the X11 window class is matched by.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELTRANO_APP_ID));
    platform::mapWindowsFaces();

    // The splash goes up and is painted before anything else is built, so the
    // player sees at once that the game is loading.
    auto *splash = new TSplashForm;
    splash->show();
    // Showing it usually paints it already; otherwise it is painted now,
    // before the event loop runs.
    if (!splash->painted()) {
        splash->repaint();
    }

    QCoreApplication::setApplicationName(u"VELTRANO 2.32"_s);
    QApplication::setWindowIcon(QIcon(u":/icon/veltrano.png"_s));

    createApplicationWindows();

    splash->hide();
    delete splash;

    new AfterFirstFrame(Form1, platform::keepApplicationFontProportional);
    Form1->show();
    const int result = QApplication::exec();
    delete Form1;
    return result;
}
