// SPDX-License-Identifier: GPL-3.0-or-later
// The help window as the game uses it: opened without waiting, reused,
// reading its file afresh, following its own links only, and telling every
// failure in its own window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "HelpViewer.h"
#include "OpenWatch.h"

using namespace Qt::StringLiterals;
using help::HelpViewer;

namespace {

// Written without a raw literal, which moc misreads here.
const QString kTwoTopics = u"<!-- help used by the tests -->\n"
                           u"<a name=\"sujet-1\"></a>\n"
                           u"<h1>Sommaire d'essai</h1>\n"
                           u"<p>Lire <a href=\"#sujet-2\">la deuxième rubrique</a> ou\n"
                           u"<a href=\"https://exemple.fr/\">une page du réseau</a>.</p>\n"
                           u"<a name=\"sujet-2\"></a>\n"
                           u"<h1>Deuxième rubrique</h1>\n"
                           u"<p>Texte de la deuxième rubrique.</p>\n"_s;

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// toPlainText() turns non-breaking spaces into ordinary ones.
QString asShown(QString text) {
    return text.replace(QChar(0x00A0), u' ');
}

int helpWindowCount() {
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        count += qobject_cast<HelpViewer *>(w) != nullptr;
    }
    return count;
}

QPushButton *button(HelpViewer *viewer, const QString &text) {
    for (QPushButton *b : viewer->findChildren<QPushButton *>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

// Clicks the page where it shows text, as the player would.
bool clickOnText(HelpViewer *viewer, const QString &text) {
    QTextBrowser *browser = viewer->browser();
    const QTextCursor found = browser->document()->find(text);
    if (found.isNull()) {
        return false;
    }
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 2);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                      browser->cursorRect(inside).center());
    return true;
}

} // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void opensAtTheContents();
    void opensTheTopicAsked();
    void followsLinksBetweenTopics();
    void refusesOtherLinks_data();
    void refusesOtherLinks();
    void loadsNothingTheFileNames();
    void reportsUnusableFiles_data();
    void reportsUnusableFiles();
    void reportsMissingTopic();
    void withstandsHostileFiles_data();
    void withstandsHostileFiles();
    void walksBackThroughTopics();
    void placesTheWindow_data();
    void placesTheWindow();
    void readsTheFileAtEachRequest();
    void neverWaitsForTheReader();
    void reusesOneWindow();
    // Last: it runs the event loop to its end, as the game does when it stops.
    void closingTheGameLeavesNoHelpBehind();

private:
    QString path(const QString &name) const { return dir_->filePath(name); }
    QString helpWith(const QString &text) {
        const QString file = path(u"DOC.HLP"_s);
        return writeFile(file, text.toUtf8()) ? file : QString();
    }

    std::unique_ptr<QTemporaryDir> dir_;
};

void HelpViewerTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void HelpViewerTest::cleanup() {
    HelpViewer::instance()->close();
    dir_.reset();
}

void HelpViewerTest::opensAtTheContents() {
    const QString file = helpWith(kTwoTopics);
    help::showHelp(file, 1);

    HelpViewer *viewer = HelpViewer::instance();
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->windowTitle(), u"Aide de Veltrano"_s);
    QVERIFY2(!viewer->hasError(), qPrintable(viewer->errorText()));
    QCOMPARE(viewer->currentContext(), 1);
    QCOMPARE(viewer->currentTitle(), u"Sommaire d'essai"_s);
    QVERIFY(viewer->displayedText().startsWith(u"Sommaire d'essai"_s));
    // Only the topic asked for is on the page.
    QVERIFY(!viewer->displayedText().contains(u"Texte de la deuxième"_s));
    QVERIFY(viewer->notice().isEmpty());
}

void HelpViewerTest::opensTheTopicAsked() {
    help::showHelp(helpWith(kTwoTopics), 2);
    HelpViewer *viewer = HelpViewer::instance();
    QCOMPARE(viewer->currentContext(), 2);
    QVERIFY(viewer->displayedText().contains(u"Texte de la deuxième rubrique."_s));
    QVERIFY(!viewer->displayedText().contains(u"Sommaire d'essai"_s));
}

void HelpViewerTest::followsLinksBetweenTopics() {
    help::showHelp(helpWith(kTwoTopics), 1);
    HelpViewer *viewer = HelpViewer::instance();
    QVERIFY(QTest::qWaitForWindowExposed(viewer));

    QVERIFY(clickOnText(viewer, u"la deuxième rubrique"_s));
    QTRY_COMPARE(viewer->currentContext(), 2);
    QVERIFY(viewer->displayedText().contains(u"Texte de la deuxième"_s));

    QPushButton *back = button(viewer, u"Précédent"_s);
    QVERIFY(back);
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(viewer->currentContext(), 1);
    QVERIFY(!back->isEnabled());

    viewer->followLink(QUrl(u"#sujet-2"_s));
    QPushButton *contents = button(viewer, u"Sommaire"_s);
    QVERIFY(contents);
    QTest::mouseClick(contents, Qt::LeftButton);
    QCOMPARE(viewer->currentContext(), 1);

    // A new request from the game starts afresh: nothing to go back to.
    help::showHelp(path(u"DOC.HLP"_s), 2);
    QVERIFY(!back->isEnabled());
}

void HelpViewerTest::refusesOtherLinks_data() {
    QTest::addColumn<QString>("link");
    QTest::newRow("web page") << u"https://exemple.fr/"_s;
    QTest::newRow("local file") << u"file:///etc/passwd"_s;
    QTest::newRow("other file, same topic") << u"AUTRE.HLP#sujet-2"_s;
    QTest::newRow("mail") << u"mailto:joueur@exemple.fr"_s;
    QTest::newRow("topic not in the file") << u"#sujet-9"_s;
}

void HelpViewerTest::refusesOtherLinks() {
    QFETCH(QString, link);
    help::showHelp(helpWith(kTwoTopics), 1);
    HelpViewer *viewer = HelpViewer::instance();
    const QString page = viewer->displayedText();

    viewer->followLink(QUrl(link));
    QCOMPARE(viewer->currentContext(), 1);
    QCOMPARE(viewer->displayedText(), page);
    QVERIFY(!viewer->hasError());
    QVERIFY2(viewer->notice().contains(u"n'a pas été suivi"_s), qPrintable(viewer->notice()));

    // The note goes with the next topic.
    viewer->followLink(QUrl(u"#sujet-2"_s));
    QVERIFY(viewer->notice().isEmpty());
}

// A picture or a style sheet named by the file stays where it is. The same
// page in an ordinary browser does pick them up, which shows the test bites.
void HelpViewerTest::loadsNothingTheFileNames() {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(path(u"image.png"_s)));
    QVERIFY(writeFile(path(u"rouge.css"_s), "p { color: #ff0000; }"));
    const QUrl pictureUrl = QUrl::fromLocalFile(path(u"image.png"_s));
    const QString page =
        u"<a name=\"sujet-1\"></a><html><head><link rel=\"stylesheet\" type=\"text/css\" "
        u"href=\"%1\"></head><body><h1>Essai</h1><p>Texte témoin</p><img src=\"%2\"></body></html>"_s
            .arg(QUrl::fromLocalFile(path(u"rouge.css"_s)).toString(), pictureUrl.toString());
    const QString file = helpWith(page);

    const auto colourOfText = [](QTextDocument *doc) {
        return doc->find(u"Texte témoin"_s).charFormat().foreground().color();
    };
    const auto pictureLoaded = [&pictureUrl](QTextDocument *doc) {
        doc->size(); // lays the page out, which asks for the picture
        const QVariant r = doc->resource(QTextDocument::ImageResource, pictureUrl);
        return r.userType() == QMetaType::QPixmap || r.userType() == QMetaType::QImage;
    };

    QTextBrowser ordinary;
    ordinary.setHtml(page);
    QCOMPARE(colourOfText(ordinary.document()), QColor(Qt::red));
    QVERIFY(pictureLoaded(ordinary.document()));

    help::showHelp(file, 1);
    HelpViewer *viewer = HelpViewer::instance();
    QCOMPARE(viewer->currentContext(), 1);
    QVERIFY(viewer->displayedText().contains(u"Texte témoin"_s));
    QVERIFY(colourOfText(viewer->browser()->document()) != QColor(Qt::red));
    QVERIFY(!pictureLoaded(viewer->browser()->document()));
}

void HelpViewerTest::reportsUnusableFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing") << u"missing"_s << u"est introuvable"_s;
    QTest::newRow("directory in its place") << u"directory"_s << u"c'est un dossier"_s;
    QTest::newRow("no permission") << u"chmod 000"_s << u"accès refusé"_s;
    QTest::newRow("binary garbage") << u"garbage"_s << u"pas de texte lisible"_s;
    QTest::newRow("saved as UTF-16") << u"utf16"_s << u"pas de texte lisible"_s;
    QTest::newRow("saved as Windows-1252") << u"cp1252"_s << u"pas de texte lisible"_s;
    QTest::newRow("text without topics") << u"no topics"_s << u"aucune rubrique"_s;
    QTest::newRow("empty") << u"empty"_s << u"aucune rubrique"_s;
    QTest::newRow("far too large") << u"large"_s << u"trop volumineux"_s;
#ifdef Q_OS_UNIX
    // Reading a pipe would wait for a writer that never comes.
    QTest::newRow("named pipe") << u"pipe"_s << u"pas un fichier ordinaire"_s;
#endif
}

void HelpViewerTest::reportsUnusableFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    const QString file = path(u"DOC.HLP"_s);

    if (kind == u"directory"_s) {
        QVERIFY(QDir().mkpath(file));
    } else if (kind == u"chmod 000"_s) {
        QVERIFY(writeFile(file, kTwoTopics.toUtf8()));
        QVERIFY(QFile::setPermissions(file, {}));
        if (QFile probe(file); probe.open(QIODevice::ReadOnly)) {
            QSKIP("permissions don't stop this user from reading (root)");
        }
    } else if (kind == u"garbage"_s) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i) {
            bytes.append(char((i * 151 + 7) % 256));
        }
        QVERIFY(writeFile(file, bytes));
    } else if (kind == u"utf16"_s) {
        const QString text = kTwoTopics;
        QVERIFY(writeFile(
            file, QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)));
    } else if (kind == u"cp1252"_s) {
        QVERIFY(writeFile(file, kTwoTopics.toLatin1()));
    } else if (kind == u"no topics"_s) {
        QVERIFY(writeFile(file, "<h1>Notes</h1><p>Rien pour le joueur.</p>\n"));
    } else if (kind == u"empty"_s) {
        QVERIFY(writeFile(file, {}));
    } else if (kind == u"large"_s) {
        QFile big(file);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(help::kMaxHelpFileSize + 1));
#ifdef Q_OS_UNIX
    } else if (kind == u"pipe"_s) {
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
#endif
    }

    help::showHelp(file, 1);
    HelpViewer *viewer = HelpViewer::instance();
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);

    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->hasError());
    QCOMPARE(viewer->currentContext(), 0);
    QVERIFY(viewer->currentTitle().isEmpty());
    QVERIFY2(viewer->errorText().contains(expected), qPrintable(viewer->errorText()));
    QVERIFY2(viewer->errorText().contains(u"\u00AB\u00A0%1\u00A0\u00BB"_s.arg(file)),
             qPrintable(viewer->errorText()));
    // Told in the window itself, with what to do about it.
    QVERIFY(asShown(viewer->displayedText()).contains(asShown(viewer->errorText())));
    QVERIFY(viewer->displayedText().contains(u"demandez l'aide de nouveau"_s));
    QVERIFY(!button(viewer, u"Sommaire"_s)->isEnabled());
}

void HelpViewerTest::reportsMissingTopic() {
    help::showHelp(helpWith(kTwoTopics), 7);
    HelpViewer *viewer = HelpViewer::instance();
    QVERIFY(viewer->hasError());
    QCOMPARE(viewer->currentContext(), 0);
    QVERIFY2(viewer->errorText().contains(u"La rubrique n° 7 n'existe pas"_s),
             qPrintable(viewer->errorText()));
    QVERIFY(asShown(viewer->displayedText()).contains(asShown(viewer->errorText())));

    // The rest of the file is still one click away.
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(clickOnText(viewer, u"Afficher le sommaire"_s));
    QTRY_COMPARE(viewer->currentContext(), 1);
    QVERIFY(!viewer->hasError());
}

// Files made to open other files, to hang the game or to freeze it while the
// page is laid out. The game opens DOC.HLP and nothing else, comes back, and
// tells the player something in French: the topic, a note that it was cut, or
// why the file can't be used.
void HelpViewerTest::withstandsHostileFiles_data() {
    QTest::addColumn<QString>("setup"); // what the test puts beside the file
    QTest::addColumn<QString>("page");  // %1 stands for the directory
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("refused"); // the file as a whole

    const QString topic = u"<a name=\"sujet-1\"></a>"_s;
    QTest::newRow("title names a pipe as its style sheet")
        << u"pipe"_s << topic + u"<h1>Titre <link type=\"text/css\" href=%1/tube"_s << u"Titre"_s
        << false;
    QTest::newRow("title names a pipe as a background")
        << u"pipe"_s << topic + u"<h1>Titre <table background=%1/tube"_s << u"Titre"_s << false;
    QTest::newRow("title names a pipe in a style")
        << u"pipe"_s << topic + u"<h1>Titre <p style=\"background-image:url(%1/tube)\""_s
        << u"Titre"_s << false;
    QTest::newRow("title names /dev/zero")
        << u""_s << topic + u"<h1>Titre <link type=\"text/css\" href=/dev/zero"_s << u"Titre"_s
        << false;
    QTest::newRow("picture that is a pipe")
        << u"pipe"_s << topic + u"<h1>Titre</h1><p>Texte</p><img src=\"%1/tube\">"_s << u"Texte"_s
        << false;
    QTest::newRow("picture by its full name")
        << u"picture"_s << topic + u"<p>Texte</p><img src=\"%1/image.png\">"_s << u"Texte"_s
        << false;
    QTest::newRow("picture by a name without suffix")
        << u"picture"_s << topic + u"<p>Texte</p><img src=\"image\">"_s << u"Texte"_s << false;
    QTest::newRow("help is a link to /dev/zero")
        << u"link /dev/zero"_s << u""_s << u"pas un fichier ordinaire"_s << true;
    QTest::newRow("help is a link to a pipe")
        << u"link pipe"_s << u""_s << u"pas un fichier ordinaire"_s << true;
    QTest::newRow("help is a link to a kernel file")
        << u"link /proc/self/status"_s << u""_s << u"pas un fichier ordinaire"_s << true;
    QTest::newRow("40 KB of headings")
        << u""_s << topic + u"<h1>"_s.repeated(10000) << u"ne contient aucun texte"_s << false;
    QTest::newRow("one word of a megabyte")
        << u""_s << topic + u"<p>"_s + u"x"_s.repeated(1000000) << u"trop volumineux"_s << true;
    QTest::newRow("one word of 500 KB")
        << u""_s << topic + u"<p>"_s + u"x"_s.repeated(500000) << u"trop longue"_s << false;
    QTest::newRow("20,000 nested quotes")
        << u""_s << topic + u"<blockquote>"_s.repeated(20000) + u"Texte"_s << u"Texte"_s << false;
    QTest::newRow("2,000 nested tables")
        << u""_s << topic + u"<table><tr><td>"_s.repeated(2000) + u"Texte"_s << u"Texte"_s << false;
}

void HelpViewerTest::withstandsHostileFiles() {
    QFETCH(QString, setup);
    QFETCH(QString, page);
    QFETCH(QString, expected);
    QFETCH(bool, refused);
    const QString file = path(u"DOC.HLP"_s);
    const QByteArray tube = QFile::encodeName(path(u"tube"_s));
    if (setup.contains(u"pipe"_s)) {
        QVERIFY(::mkfifo(tube.constData(), 0600) == 0);
    }
    if (setup == u"picture"_s) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(path(u"image.png"_s)));
    }
    if (setup.startsWith(u"link "_s)) {
        const QString target = setup.sliced(5) == u"pipe"_s ? path(u"tube"_s) : setup.sliced(5);
        QVERIFY(QFile::link(target, file));
    } else {
        QVERIFY(writeFile(file, page.replace(u"%1"_s, dir_->path()).toUtf8()));
    }
    // Names without a directory would be looked for here.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));

    openwatch::start(QFile::encodeName(dir_->path()), QFile::encodeName(file));
    help::showHelp(file, 1);
    HelpViewer *viewer = HelpViewer::instance();
    viewer->browser()->document()->size(); // lays the page out
    viewer->grab();                        // and paints it
    const QList<QByteArray> opened = openwatch::stop();
    QDir::setCurrent(before);

    QVERIFY2(opened.isEmpty(), opened.join(' ').constData());
    QVERIFY(viewer->isVisible());
    QVERIFY2(asShown(viewer->displayedText()).contains(expected),
             qPrintable(viewer->displayedText().left(200)));
    QCOMPARE(viewer->hasError(), refused);
}

void HelpViewerTest::walksBackThroughTopics() {
    QString text;
    for (int n = 1; n <= 4; ++n) {
        text += u"<a name=\"sujet-%1\"></a><h1>Rubrique n° %1</h1>"_s.arg(n);
    }
    help::showHelp(helpWith(text), 1);
    HelpViewer *viewer = HelpViewer::instance();
    for (int n : {2, 3, 2, 4}) {
        viewer->followLink(QUrl(u"#sujet-%1"_s.arg(n)));
    }
    QCOMPARE(viewer->currentContext(), 4);

    QPushButton *back = button(viewer, u"Précédent"_s);
    for (int n : {2, 3, 2, 1}) {
        QVERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(viewer->currentContext(), n);
        QCOMPARE(viewer->currentTitle(), u"Rubrique n° %1"_s.arg(n));
    }
    QVERIFY(!back->isEnabled());
}

void HelpViewerTest::placesTheWindow_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("game");
    QTest::addColumn<QRect>("expected"); // for a help window of 650 x 640

    const QRect wide(0, 0, 1920, 1040);
    QTest::newRow("right of the game")
        << wide << QRect(100, 100, 660, 500) << QRect(772, 100, 650, 640);
    QTest::newRow("right, a little narrower")
        << wide << QRect(630, 270, 660, 500) << QRect(1302, 270, 618, 640);
    QTest::newRow("left when the right is full")
        << wide << QRect(1200, 100, 660, 500) << QRect(538, 100, 650, 640);
    QTest::newRow("lowered game, help kept on screen")
        << wide << QRect(100, 700, 660, 300) << QRect(772, 400, 650, 640);
    QTest::newRow("second screen")
        << QRect(1920, 0, 1920, 1080) << QRect(2000, 100, 660, 500) << QRect(2672, 100, 650, 640);
    QTest::newRow("game centred on 1600 x 1000: beside, narrower")
        << QRect(0, 0, 1600, 1000) << QRect(479, 238, 642, 493) << QRect(1133, 238, 467, 640);
    QTest::newRow("no room beside: centred")
        << QRect(0, 0, 1024, 740) << QRect(182, 120, 660, 500) << QRect(187, 50, 650, 640);
    QTest::newRow("screen smaller than the help")
        << QRect(0, 0, 800, 600) << QRect(80, 50, 640, 462) << QRect(75, 0, 650, 600);
    QTest::newRow("no game window") << wide << QRect() << QRect(635, 200, 650, 640);
}

void HelpViewerTest::placesTheWindow() {
    QFETCH(QRect, screen);
    QFETCH(QRect, game);
    QFETCH(QRect, expected);
    QCOMPARE(help::helpWindowPlace(screen, game, QSize(650, 640)), expected);
}

void HelpViewerTest::readsTheFileAtEachRequest() {
    const QString file = helpWith(kTwoTopics);
    help::showHelp(file, 1);
    HelpViewer *viewer = HelpViewer::instance();
    QCOMPARE(viewer->currentTitle(), u"Sommaire d'essai"_s);

    QVERIFY(writeFile(file, "<a name=\"sujet-1\"></a><h1>Sommaire corrigé</h1>"));
    help::showHelp(file, 1);
    QCOMPARE(viewer->currentTitle(), u"Sommaire corrigé"_s);

    // A failure lasts only as long as its cause.
    QVERIFY(QFile::remove(file));
    help::showHelp(file, 1);
    QVERIFY(viewer->errorText().contains(u"introuvable"_s));
    QVERIFY(writeFile(file, kTwoTopics.toUtf8()));
    help::showHelp(file, 1);
    QVERIFY(!viewer->hasError());
    QCOMPARE(viewer->currentTitle(), u"Sommaire d'essai"_s);
}

// The game goes on at once: no modal window, no event loop of the viewer's
// own (a timer due right away would otherwise run inside showHelp).
void HelpViewerTest::neverWaitsForTheReader() {
    const QString file = helpWith(kTwoTopics);
    bool returned = false;
    bool ranInside = false;
    QTimer::singleShot(0, this, [&] {
        ranInside = !returned;
        if (QWidget *modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    help::showHelp(file, 1);
    returned = true;
    QVERIFY(!ranInside);
    QVERIFY(HelpViewer::instance()->isVisible());

    QTest::qWait(20);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(HelpViewer::instance()->windowModality(), Qt::NonModal);
}

void HelpViewerTest::reusesOneWindow() {
    const QString file = helpWith(kTwoTopics);
    help::showHelp(file, 1);
    HelpViewer *first = HelpViewer::instance();
    help::showHelp(file, 2);
    QCOMPARE(HelpViewer::instance(), first);
    QCOMPARE(helpWindowCount(), 1);
    QCOMPARE(first->currentContext(), 2);

    // Closed by the player, it comes back on the next request.
    first->close();
    QVERIFY(!first->isVisible());
    help::showHelp(file, 1);
    QCOMPARE(HelpViewer::instance(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->currentContext(), 1);
    QCOMPARE(helpWindowCount(), 1);
}

// Closing the game's window ends the program even with the help still open
// beside it, and the help window goes with it.
void HelpViewerTest::closingTheGameLeavesNoHelpBehind() {
    QWidget game;
    game.setWindowTitle(u"VELTRANO V2.32"_s);
    game.show();
    QVERIFY(QTest::qWaitForWindowExposed(&game));
    help::showHelp(helpWith(kTwoTopics), 1);
    QPointer<HelpViewer> viewer = HelpViewer::instance();
    QVERIFY(viewer->isVisible());

    QTimer::singleShot(50, &game, &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(viewer.isNull());
}

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
