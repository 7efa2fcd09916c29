#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "Faces.h"
#include "Main.h"
#include "Pictures.h"
#include "Splash.h"
#include "Startup.h"
#include "WarmStart.h"

using namespace Qt::StringLiterals;

namespace {

// The application's font is checked once, as late as it can be: when the
// main window's first frame is out, since nothing on it uses that font, or
// sooner, as another window is about to be laid out (a message about a
// damaged file, say, while the main window is being built).
class ApplicationFontCheck : public QObject {
public:
    ApplicationFontCheck() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!watched->isWidgetType()) {
            return false;
        }
        const auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget == Form1) {
            // Queued, so the frame being painted is flushed first.
            QTimer::singleShot(0, this, [this] { run(); });
        } else if (event->type() == QEvent::WinIdChange && widget->isWindow() &&
                   widget->internalWinId() != 0 && !widget->inherits("TForm1")) {
            // Another window going on screen: it is about to be laid out.
            run();
        }
        return false;
    }

private:
    void run() {
        if (done_) {
            return;
        }
        done_ = true;
        qApp->removeEventFilter(this);
        platform::keepApplicationFontProportional();
        deleteLater();
    }

    bool done_ = false;
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
    // On Wayland it is on screen only once the compositor has taken a frame.
    splash->waitUntilOnScreen();

    QCoreApplication::setApplicationName(u"VELTRANO 2.32"_s);
    QApplication::setWindowIcon(QIcon(u":/icon/veltrano.png"_s));

    new ApplicationFontCheck;
    createApplicationWindows();

    splash->hide();
    delete splash;

    Form1->show();
    // Everything the main window shows is decoded by now, the board too.
    releaseStoredPictures();
    const int result = QApplication::exec();
    delete Form1;
    return result;
}
