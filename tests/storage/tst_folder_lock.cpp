// SPDX-License-Identifier: GPL-3.0-or-later
// Another process holding the lock on the game's folder while the game
// writes a result into its settings: the game waits its turn for a short
// while only, then writes all the same, and the result is in the file.
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FolderFile.h"
#include "RecordFile.h"
#include "Settings.h"
#include "StorageTest.h"

using namespace Qt::StringLiterals;
using namespace storagetest;

// FolderLock tries twenty times, ten milliseconds apart, before it goes on
// without the lock; the margin is for a loaded machine, far below the hold
// of a holder that never lets go by itself.
constexpr qint64 kLockWaitMs = 200, kMarginMs = 1500;

class tst_folder_lock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void heldByAnotherProcess_data();
    void heldByAnotherProcess();
};

void tst_folder_lock::heldByAnotherProcess_data() {
    QTest::addColumn<int>("holdMs");     // the holder lets go by itself after this
    QTest::addColumn<bool>("whileHeld"); // the file changed while the holder held it
    QTest::newRow("held past the wait: written without the lock") << 20'000 << true;
    QTest::newRow("let go within the wait: written after it") << 30 << false;
}

void tst_folder_lock::heldByAnotherProcess() {
    QFETCH(int, holdMs);
    QFETCH(bool, whileHeld);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    // B ranked first, the other rows free: what an earlier game left.
    QByteArray table(368, '\0');
    for (int r = 1; r <= 10; ++r) {
        table[marblesAt(r)] = 44;
    }
    table.replace(nameAt(1), 2, "\1B").replace(durationAt(1), 9, "\b00:00:09")[marblesAt(1)] = 3;
    QVERIFY(writeAll(u"VELTRANO.CFG"_s, table));

    // The holder: its own open of the folder, locked as a second copy of the
    // game locks it; it says when it holds the lock, and when letting go
    // whether the file changed meanwhile. Only async-signal-safe calls.
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray cfg = folder + "/VELTRANO.CFG";
    int told[2], release[2];
    QVERIFY(::pipe(told) == 0 && ::pipe(release) == 0);
    const pid_t holder = ::fork();
    QVERIFY(holder >= 0);
    if (holder == 0) {
        ::close(told[0]), ::close(release[1]);
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        struct stat before {};
        struct stat after {};
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::stat(cfg.constData(), &before) != 0 ||
            ::write(told[1], "L", 1) != 1) {
            ::_exit(1);
        }
        pollfd word{release[0], POLLIN, 0};
        ::poll(&word, 1, holdMs);
        const bool same = ::stat(cfg.constData(), &after) == 0 && after.st_ino == before.st_ino &&
                          after.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
        const char verdict = same ? 'u' : 'c';
        ::_exit(::write(told[1], &verdict, 1) == 1 ? 0 : 1); // the lock goes with the process
    }
    ::close(told[1]), ::close(release[0]);
    char got = 0;
    QCOMPARE(::read(told[0], &got, 1), 1);
    QCOMPARE(got, 'L');

    startDirectory = QDir::currentPath() + u'/';
    takeStartDirectory();
    recordFailures();
    QElapsedTimer clock;
    clock.start();
    const ScoreEntry row{u"A"_s, 1, u"00:00:05"_s};
    OpenSettings();
    ReadSettings();
    WriteSettingsWith(&row);
    const bool closed = CloseSettings();
    const qint64 elapsed = clock.elapsed();
    ::close(release[1]); // a holder still holding lets go now
    QCOMPARE(::read(told[0], &got, 1), 1);
    int status = -1;
    QCOMPARE(::waitpid(holder, &status, 0), holder);
    ::close(told[0]);

    QVERIFY2(elapsed < kLockWaitMs + kMarginMs, qPrintable(u"%1 ms"_s.arg(elapsed)));
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(got == 'c', whileHeld);
    QVERIFY(closed);
    QCOMPARE(reported(), QStringList());
    // The result ranked first, the table below it, the looks as they were.
    const QByteArray b = readAll(u"VELTRANO.CFG"_s);
    QCOMPARE(b.size(), 368);
    QCOMPARE(rowAt(b, 1) + u' ' + rowAt(b, 2) + u' ' + rowAt(b, 3),
             u"A/1/00:00:05 B/3/00:00:09 /44/"_s);
    QCOMPARE(b.left(49), table.left(49));
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"VELTRANO.CFG"_s});
}

QTEST_GUILESS_MAIN(tst_folder_lock)
#include "tst_folder_lock.moc"
