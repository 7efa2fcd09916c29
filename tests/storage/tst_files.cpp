// The data files against what may stand in their place or happen to them:
// links out of the folder, a FIFO, a full disk, a failing disk, a second
// copy of the game writing meanwhile, folders no path names.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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

class tst_files : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusals_data();
    void refusals();
};

namespace {
// Entries of the current folder, hidden ones and links included.
int entries() {
    int count = 0;
    DIR *folder = ::opendir(".");
    while (const dirent *entry = ::readdir(folder)) {
        count += std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0;
    }
    ::closedir(folder);
    return count;
}

// The settings file's bytes when it is a regular file of the current folder.
QByteArray settingsHere() {
    QByteArray bytes(1000, '\0');
    const int fd = ::open("VELTRANO.CFG", O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat file {};
    const bool regular = fd >= 0 && ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode);
    bytes.resize(regular ? std::max<ssize_t>(::read(fd, bytes.data(), 1000), 0) : 0);
    ::close(fd);
    return bytes;
}

QByteArray table(const char *first) {
    QByteArray b(368, '\0');
    b.replace(nameAt(1), static_cast<int>(std::strlen(first)), first);
    for (int r = 1; r <= 10; ++r) {
        b[marblesAt(r)] = static_cast<char>(r == 1 && first[0] ? 3 : 44);
    }
    return b;
}
} // namespace

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
    QTest::newRow("other copy, then Plateau")
        << u"cfg"_s << u"other copy, Plateau"_s << QString() << 0 << b;
    QTest::newRow("other copy during the name")
        << u"cfg"_s << u"insert"_s << QString() << 0 << u"B/3/00:00:09 A/5/00:00:05"_s;
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
    QVERIFY(writeAll(outside, "not ours"));
    QVERIFY(QDir(dir.path()).mkdir(u"start"_s) && QDir::setCurrent(dir.path() + u"/start"_s));
    QByteArray other = table("\x01"
                             "B");
    other.replace(durationAt(1), 9,
                  "\x08"
                  "00:00:09");
    std::unique_ptr<ReadOnlyMount> mount;
    const QString name = found == u"game link" ? u"GAME"_s : u"VELTRANO.CFG"_s;
    if (found.endsWith(u"link")) {
        QVERIFY(QFile::link(outside, name));
    } else if (found.endsWith(u"dangling")) {
        QVERIFY(QFile::link(dir.path() + u"/nothing"_s, name));
    } else if (found.endsWith(u"fifo")) {
        QCOMPARE(::mkfifo("VELTRANO.CFG", 0666), 0);
    } else if (found.startsWith(u"cfg")) {
        QVERIFY(writeAll(name, found == u"cfg eio" ? other : table("")));
    } else if (found == u"full") {
        mount = std::make_unique<ReadOnlyMount>(QDir::currentPath(), true);
        if (!mount->mounted) {
            QSKIP("only root can mount a small file system");
        }
        QVERIFY(QDir::setCurrent(QDir::currentPath())); // onto the mount
    } else {
        const QByteArray step = found == u"deep" ? QByteArray(255, 'd') : "caf\xe9";
        for (int depth = 0; depth < (found == u"deep" ? 20 : 1); ++depth) { // 20 x 256 > PATH_MAX
            QVERIFY(::mkdir(step.constData(), 0777) == 0 && ::chdir(step.constData()) == 0);
        }
    }
    startDirectory = QDir::currentPath() + u'/';
    holdStartDirectory();
    recordFailures();
    SetDefaultSettings();
    const folderfile::ReadCall failing = [](int, void *, std::size_t, off_t) -> ssize_t {
        errno = EIO;
        return -1;
    };
    folderfile::setReadCall(found == u"cfg eio" ? failing : nullptr);
    if (command == u"insert") {
        int asked = 0;
        InsertScore(44 - 5, u"00:00:05"_s, [&] {
            ++asked;
            QVERIFY(writeAll(u"VELTRANO.CFG"_s, other)); // another copy enters B meanwhile
            playerName = u"A"_s;
        });
        QCOMPARE(asked, 1 - times);
        QCOMPARE(SettingsRecord.scores[1].name, times ? QString() : u"B"_s);
    } else if (command == u"Sauver") {
        if (OpenSavedGame() != SavedGameFile::Failed) {
            WriteSavedGame();
            CloseSavedGame();
        }
    } else {
        OpenSettings();
        ReadSettings();
        CloseSettings();
        if (command.startsWith(u"other")) {
            QVERIFY(writeAll(u"VELTRANO.CFG"_s, other)); // after this copy read
        }
        SettingsRecord.boardTexture = 4;
        OpenSettings();
        WriteSettings();
        CloseSettings();
    }
    folderfile::setReadCall(nullptr);
    QCOMPARE(reported(), QStringList(times, told));
    QCOMPARE(readAll(outside), QByteArray("not ours"));
    QVERIFY(!QFile::exists(dir.path() + u"/nothing"_s) && !QFile::exists(u"/VELTRANO.CFG"_s));
    const QByteArray after = settingsHere();
    QCOMPARE(after.isEmpty() ? QString() : rowAt(after, 1) + u' ' + rowAt(after, 2), ranks);
    if (times == 0) {
        QCOMPARE(int16At(after, 45), command == u"insert" ? 0 : 4); // the look this copy changed
    }
    QCOMPARE(entries(), 1);
    if (found == u"latin" || found == u"deep") { // names the temporary folder can't remove
        ::unlink("VELTRANO.CFG");
        for (int depth = 0; depth < (found == u"deep" ? 20 : 1); ++depth) {
            QVERIFY(::chdir("..") == 0 &&
                    ::rmdir(found == u"deep" ? QByteArray(255, 'd') : "caf\xe9") == 0);
        }
    }
    QVERIFY(QDir::setCurrent(dir.path()));
}

QTEST_GUILESS_MAIN(tst_files)
#include "tst_files.moc"
