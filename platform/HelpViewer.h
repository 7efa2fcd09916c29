// The game's own help window.
//
// The game asks for its help with showHelp(startDirectory + "DOC.HLP", 1)
// and goes on at once: the window is an ordinary top-level window beside the
// main one, never modal. There is one such window; each request reads the
// file again (so an edited help shows at once), opens the requested topic and
// brings the window to the front.
//
// The file is UTF-8 text in the HTML that Qt's rich text understands, cut
// into topics by anchors named after their context number:
//
//     <a name="sujet-1"></a>
//     <h1>Sommaire</h1>
//     <p>Voir <a href="#sujet-2">les règles</a>.</p>
//
// (HelpFile.h has the details.) Only the requested topic is shown; links of
// the form "#sujet-N" open topic N in the same window. Every other link is
// refused with a note at the foot of the window, and nothing the file points
// to (pictures, style sheets, anything on a network) is ever loaded.
//
// Whatever goes wrong (no file, a file that can't be read, a directory in its
// place, a file that isn't help text, a topic that doesn't exist) is told in
// French inside this window; nothing is thrown and the main window carries on.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include "HelpFile.h"

class QLabel;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace platform {

// Opens helpFile at the topic numbered context and returns at once.
void showHelp(const QString &helpFile, int context);

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The one help window of the program, made on first use.
    static HelpViewer *instance();

    // Reads helpFile again, shows the topic numbered context (or what went
    // wrong) and brings the window up.
    void open(const QString &helpFile, int context);

    // Context number of the topic on screen; 0 while a failure is shown.
    int currentContext() const { return m_context; }
    QString currentTitle() const;
    bool hasError() const { return !m_error.isEmpty(); }
    QString errorText() const { return m_error; }
    // The page as plain text, as the player reads it.
    QString displayedText() const;
    // The note at the foot of the window (a refused link), empty if none.
    QString notice() const;
    QTextBrowser *browser() const { return m_browser; }

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
    void placeBesideMainWindow();

    HelpFile m_file;
    int m_context = 0;
    QString m_error;
    QList<int> m_history;
    bool m_placed = false;

    QTextBrowser *m_browser = nullptr;
    QPushButton *m_contentsButton = nullptr;
    QPushButton *m_backButton = nullptr;
    QLabel *m_notice = nullptr;
};

} // namespace platform
