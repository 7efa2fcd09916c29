// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own help window.
//
// The game asks for its help with showHelp(startDirectory + "DOC.HLP", 1)
// and goes on at once: the window is an ordinary top-level window beside the
// main one, never modal. There is one such window; each request reads the
// file again (so an edited help shows at once), opens the requested topic and
// brings the window to the front.
//
// The file is cut into topics by anchors named after their context number
// (HelpFile.h tells the format). Only the requested topic is shown, built
// from the reader's model of it and never from the file's own markup; links
// to "#sujet-N" open topic N in the same window. Every other link is refused
// with a note at the foot of the window, and nothing the file names
// (pictures, style sheets, anything on a network) is ever loaded.
//
// Whatever goes wrong (no file, a file that can't be read, a directory, a
// device or a pipe in its place, a file that isn't help text, a topic that
// doesn't exist) is told in French inside this window; nothing is thrown and
// the main window carries on.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

#include "HelpFile.h"

class QLabel;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace help {

// Opens helpFile at the topic numbered context and returns at once. The
// first time, the window is placed beside game (by default, the active
// window), or centred on its screen when there is no room beside it. A
// handle on the file's folder, where given, is how the file is reached.
void showHelp(const QString &helpFile, int context, QWidget *game = nullptr, int folder = -1);

// Where a help window of frame size help goes, given the screen's free area
// and the game's frame: to the right of the game, else to its left, where
// the screen has room for it (narrowed a little if need be); otherwise
// centred on the area. It never grows past the area.
QRect helpWindowPlace(const QRect &area, const QRect &game, const QSize &help);

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The one help window of the program, made on first use.
    static HelpViewer *instance();

    // Reads helpFile again, shows the topic numbered context (or what went
    // wrong) and brings the window up.
    void open(const QString &helpFile, int context, QWidget *game = nullptr, int folder = -1);

    // Context number of the topic on screen; 0 while a failure is shown.
    int currentContext() const { return context_; }
    // The file the window last read.
    QString helpFile() const { return file_.path(); }
    QString currentTitle() const;
    bool hasError() const { return !error_.isEmpty(); }
    QString errorText() const { return error_; }
    // The page as plain text, as the player reads it.
    QString displayedText() const;
    // The note at the foot of the window (a refused link), empty if none.
    QString notice() const;
    QTextBrowser *browser() const { return browser_; }

public Q_SLOTS:
    // What a click on a link of the page does.
    void followLink(const QUrl &link);
    void goBack();
    void showContents();

private:
    HelpViewer();

    void showTopic(int context);
    void showFailure(const QString &heading, const QString &message, const QString &advice);
    void setNotice(const QString &text);
    void updateButtons();
    void placeBeside(QWidget *game);

    HelpFile file_;
    int context_ = 0;
    QString error_;
    QList<int> history_;
    bool placed_ = false;

    QTextBrowser *browser_ = nullptr;
    QPushButton *contentsButton_ = nullptr;
    QPushButton *backButton_ = nullptr;
    QLabel *notice_ = nullptr;
};

} // namespace help
