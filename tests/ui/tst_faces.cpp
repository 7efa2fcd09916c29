// SPDX-License-Identifier: GPL-3.0-or-later
// The faces the windows ask for, on a machine that holds only the fonts the
// set-up script installs (or, through VELTRANO_FONT_FAMILIES, any other
// families): each must come out proportional and of the right kind.
// Fontconfig reads its configuration once per process, so main() builds a
// private one, with symbolic links to exactly those families' files, before
// the application object exists.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <fontconfig/fontconfig.h>

#include "EndMessage.h"
#include "Faces.h"
#include "Fmode.h"
#include "GameWindow.h"
#include "HelpViewer.h"
#include "Main.h"

using namespace Qt::StringLiterals;

namespace {

// The families the set-up's font packages bring (fonts-dejavu-core,
// fonts-liberation), by the start of their names.
QStringList fontFamilies() {
    const QString chosen = qEnvironmentVariable("VELTRANO_FONT_FAMILIES");
    return chosen.isEmpty() ? QStringList{u"DejaVu"_s, u"Liberation"_s}
                            : chosen.split(u',', Qt::SkipEmptyParts);
}

// The font files of the machine whose family name starts with the given
// one, as fontconfig reports them, in a configuration of their own so that
// the process's own is read later, from FONTCONFIG_FILE.
QStringList fontFilesOf(const QString &family) {
    QStringList files;
    FcConfig *config = FcInitLoadConfigAndFonts();
    FcPattern *any = FcPatternCreate();
    FcObjectSet *wanted = FcObjectSetBuild(FC_FAMILY, FC_FILE, nullptr);
    FcFontSet *fonts = config && any && wanted ? FcFontList(config, any, wanted) : nullptr;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8 *name = nullptr;
        FcChar8 *file = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &name) != FcResultMatch ||
            FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) {
            continue;
        }
        if (QString::fromUtf8(reinterpret_cast<const char *>(name)).startsWith(family)) {
            files.append(QFile::decodeName(reinterpret_cast<const char *>(file)));
        }
    }
    if (fonts) {
        FcFontSetDestroy(fonts);
    }
    if (wanted) {
        FcObjectSetDestroy(wanted);
    }
    if (any) {
        FcPatternDestroy(any);
    }
    if (config) {
        FcConfigDestroy(config);
    }
    files.removeDuplicates();
    return files;
}

// Returns an error, or an empty string once FONTCONFIG_FILE names a
// configuration that sees only the named families' font files.
QString useFamiliesOnly(const QTemporaryDir &dir, const QStringList &families) {
    const QString fonts = dir.filePath(u"fonts"_s);
    QDir().mkpath(fonts);
    for (const QString &family : families) {
        const QStringList files = fontFilesOf(family);
        if (files.isEmpty()) {
            return u"fontconfig reports no font of the family "_s + family;
        }
        for (const QString &file : files) {
            // Two folders may hold a file of the same name: the first one stays.
            QFile::link(file, fonts + u'/' + QFileInfo(file).fileName());
        }
    }
    // The system's rules (aliases, metric twins) stay; its folders go.
    QFile conf(dir.filePath(u"fonts.conf"_s));
    if (!conf.open(QIODevice::WriteOnly)) {
        return u"cannot write the configuration"_s;
    }
    conf.write(
        u"<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n"
        "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
        "  <reset-dirs/>\n  <dir>%1</dir>\n  <cachedir>%2</cachedir>\n"
        "</fontconfig>\n"_s.arg(fonts, dir.filePath(u"cache"_s))
            .toUtf8());
    conf.close();
    qputenv("FONTCONFIG_FILE", conf.fileName().toLocal8Bit());
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(u"data"_s).toLocal8Bit());
    return {};
}

QString fontSetupError;

} // namespace

class FacesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(fontSetupError.isEmpty(), qPrintable(fontSetupError));
        appearance::mapWindowsFaces();
        appearance::keepApplicationFontProportional();
        window_ = std::make_unique<uitest::GameWindow>();
    }
    void cleanupTestCase() { window_.reset(); }

    void proportionalFaceOfTheRightKind_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("families");
        const QStringList sans = {u"DejaVu Sans"_s, u"Liberation Sans"_s};
        const QStringList serif = {u"Liberation Serif"_s};
        const QStringList arial = {u"Liberation Sans"_s};
        for (const char *where :
             {"main window", "board choice", "quit box", "dialog button", "help page", "balloon"}) {
            QTest::newRow(where) << QString::fromLatin1(where) << sans;
        }
        QTest::newRow("counter") << u"counter"_s << arial;
        QTest::newRow("command") << u"command"_s << serif;
        QTest::newRow("end message") << u"end message"_s << serif;
    }

    void proportionalFaceOfTheRightKind() {
        QFETCH(QString, where);
        QFETCH(QStringList, families);
        const QFont font = fontOf(where);
        const QFontInfo info(font);
        QVERIFY2(families.contains(info.family()),
                 qPrintable(font.family() + u" shows as "_s + info.family()));
        QVERIFY(!info.fixedPitch());
        // Measured too: in a typewriter face both runs are the same width.
        const QFontMetrics m(font);
        QVERIFY(m.horizontalAdvance(u"iiiiiiiiii"_s) * 2 < m.horizontalAdvance(u"MMMMMMMMMM"_s));
    }

private:
    QFont fontOf(const QString &where) {
        TForm1 *form = window_->form();
        if (where == u"main window"_s) {
            return form->font();
        }
        if (where == u"board choice"_s) {
            mode->buildControls();
            return mode->font();
        }
        if (where == u"quit box"_s) {
            return QMessageBox(form).font();
        }
        if (where == u"dialog button"_s) {
            return QPushButton(u"OK"_s).font();
        }
        if (where == u"help page"_s) {
            return help::HelpViewer::instance()->browser()->document()->defaultFont();
        }
        if (where == u"balloon"_s) {
            return QFont(u"MS Sans Serif"_s);
        }
        if (where == u"counter"_s) {
            return form->billes_repos->font();
        }
        if (where == u"command"_s) {
            return form->charger->font();
        }
        return form->message_fin->font();
    }

    std::unique_ptr<uitest::GameWindow> window_;
};

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    fontSetupError = dir.isValid() ? useFamiliesOnly(dir, fontFamilies()) : u"no scratch folder"_s;
    QApplication app(argc, argv);
    FacesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faces.moc"
