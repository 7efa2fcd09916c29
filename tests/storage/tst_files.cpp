// The data files against what may stand in their place or happen to them:
// links out of the folder, a FIFO, a full or failing disk, a second copy of
// the game writing meanwhile, folders no path can name.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "FolderFile.h"
#include "SavedGame.h"
#include "Score.h"
#include "Settings.h"
#include "Shared.h"
#include "StorageTest.h"

using namespace Qt::StringLiterals;
using namespace storagetest;
namespace fs = std::filesystem;

class tst_files : public QObject {
    Q_OBJECT
    static ssize_t failingRead(int, void *, std::size_t, off_t) { return errno = EIO, -1; }
private Q_SLOTS:
    void refusals_data();
    void refusals();
};

// What stands in the folder, what the game does, what the player is told
// and how often, and ranks 1 and 2 as the file holds them afterwards. The
// folder ends with one entry: nothing half-created, nothing left beside it.
void tst_files::refusals_data() {
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("ranks");
    const QString denied = u"Accès au fichier refusé"_s;
    const QString start = u"start, Plateau"_s;
    const QString b = u"B/3/00:00:09 /44/"_s;
    QTest::newRow("settings linked out") << u"cfg link"_s << start << denied << 2 << QString();
    QTest::newRow("game linked out") << u"game link"_s << u"Sauver"_s << denied << 1 << QString();
    QTest::newRow("dangling link") << u"cfg dangling"_s << start << denied << 2 << QString();
    QTest::newRow("FIFO") << u"cfg fifo"_s << start << denied << 2 << QString();
    QTest::newRow("reload fails: no name asked")
        << u"cfg fifo"_s << u"insert"_s << denied << 1 << QString();
    QTest::newRow("disk full at creation")
        << u"full"_s << u"Sauver"_s << u"Disque plein"_s << 1 << QString();
    QTest::newRow("read fails") << u"cfg eio"_s << start << u"Erreur E/S 5"_s << 2 << b;
    QTest::newRow("other copy, then Plateau") << u"nothing"_s << u"other"_s << QString() << 0 << b;
    QTest::newRow("other copy during the name")
        << u"nothing"_s << u"insert"_s << QString() << 0 << u"B/3/00:00:09 A/5/00:00:05"_s;
    QTest::newRow("Latin-1 folder") << u"latin"_s << start << QString() << 0 << u"/44/ /44/"_s;
    QTest::newRow("deeper than PATH_MAX") << u"deep"_s << start << QString() << 0 << u"/44/ /44/"_s;
}

void tst_files::refusals() {
    QFETCH(QString, found);
    QFETCH(QString, command);
    QFETCH(QString, told);
    QFETCH(int, times);
    QFETCH(QString, ranks);
    QTemporaryDir dir;
    const QString outside = dir.path() + u"/outside"_s;
    QVERIFY(writeAll(outside, "not ours") && QDir(dir.path()).mkdir(u"start"_s));
    QVERIFY(QDir::setCurrent(dir.path() + u"/start"_s));
    QByteArray other(368, '\0'); // what another copy writes: B at rank 1 ("\1B", "\b00:00:09")
    for (int r = 1; r <= 10; ++r) {
        other[marblesAt(r)] = 44;
    }
    other.replace(nameAt(1), 2, "\1B").replace(durationAt(1), 9, "\b00:00:09")[marblesAt(1)] = 3;
    std::unique_ptr<ReadOnlyMount> mount;
    const QString name = found == u"game link" ? u"GAME"_s : u"VELTRANO.CFG"_s;
    const QByteArray step = found == u"deep" ? QByteArray(255, 'd') : "caf\xe9";
    const int depth = found == u"deep" ? 20 : found == u"latin" ? 1 : 0; // 20 x 256 > PATH_MAX
    if (found.endsWith(u"link") || found.endsWith(u"dangling")) {
        QVERIFY(QFile::link(found.endsWith(u"link") ? outside : dir.path() + u"/none"_s, name));
    } else if (found.endsWith(u"fifo")) {
        QCOMPARE(::mkfifo("VELTRANO.CFG", 0666), 0);
    } else if (found == u"cfg eio") {
        QVERIFY(writeAll(name, other));
    } else if (found == u"full") {
        mount = std::make_unique<ReadOnlyMount>(QDir::currentPath(), true);
        if (!mount->mounted) {
            QSKIP("only root can mount a small file system");
        }
        QVERIFY(QDir::setCurrent(QDir::currentPath())); // onto the mount
    }
    for (int d = 0; d < depth; ++d) {
        QVERIFY(::mkdir(step.constData(), 0777) == 0 && ::chdir(step.constData()) == 0);
    }
    startDirectory = QDir::currentPath() + u'/';
    holdStartDirectory();
    recordFailures();
    SetDefaultSettings();
    folderfile::setReadCall(found == u"cfg eio" ? failingRead : nullptr);
    if (command == u"insert") {
        int asked = 0;
        InsertScore(44 - 5, u"00:00:05"_s, [&] {
            ++asked;
            QVERIFY(writeAll(u"VELTRANO.CFG"_s, other)); // while the name is typed
            playerName = u"A"_s;
        });
        QCOMPARE(asked, 1 - times);
        QCOMPARE(SettingsRecord.scores[1].name, times ? QString() : u"B"_s);
    } else if (command == u"Sauver" && OpenSavedGame() != SavedGameFile::Failed) {
        WriteSavedGame();
        CloseSavedGame();
    } else if (command != u"Sauver") {
        OpenSettings();
        ReadSettings();
        CloseSettings();
        QVERIFY(command != u"other" || writeAll(u"VELTRANO.CFG"_s, other)); // after this read
        SettingsRecord.boardTexture = 4;
        OpenSettings();
        WriteSettings();
        CloseSettings();
    }
    folderfile::setReadCall(nullptr);
    QCOMPARE(reported(), QStringList(times, told));
    QCOMPARE(readAll(outside), QByteArray("not ours"));
    QVERIFY(!QFile::exists(dir.path() + u"/none"_s) && !QFile::exists(u"/VELTRANO.CFG"_s));
    const bool regular =
        fs::is_regular_file(fs::symlink_status("VELTRANO.CFG")); // not through a link
    const QByteArray b = regular ? readAll(u"VELTRANO.CFG"_s) : QByteArray();
    QCOMPARE(b.isEmpty() ? QString() : rowAt(b, 1) + u' ' + rowAt(b, 2), ranks);
    QVERIFY(times || int16At(b, 45) == (command == u"insert" ? 0 : 4)); // this copy's look
    QCOMPARE(std::distance(fs::directory_iterator("."), {}), 1);
    for (int d = 0; d < depth; ++d) {
        QVERIFY(::unlink("VELTRANO.CFG") + ::chdir("..") + ::rmdir(step.constData()) <= 0);
    }
    QVERIFY(QDir::setCurrent(dir.path()));
}

QTEST_GUILESS_MAIN(tst_files)
#include "tst_files.moc"
