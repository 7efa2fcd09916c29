// SPDX-License-Identifier: GPL-3.0-or-later
// The game itself, started offscreen in a folder of its own as a player
// starts it beside its help: it gets through its start-up, keeps running,
// and ends at once when the session ends it, leaving its files whole.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {
QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A settings record: the marbles' look, and rank 1 (44 marbles: free).
QByteArray record(char look, int first, const QByteArray &name = {}) {
    QByteArray b(368, '\0');
    b.replace(43, 6, QByteArray("\0\0\1\0\1\0", 6))[43] = look;
    for (int r = 1; r <= 10; ++r) {
        b[346 + 2 * r] = 44;
    }
    b[348] = char(first);
    return b.replace(49 + 16, 1 + name.size(), char(name.size()) + name);
}

// What the process holds open, as the system names it.
QStringList openFiles(qint64 pid) {
    QStringList targets;
    const QDir fds(u"/proc/%1/fd"_s.arg(pid));
    for (const QString &fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        targets << QFile::symLinkTarget(fds.filePath(fd));
    }
    return targets;
}
} // namespace

class tst_main_offscreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startAndEnd_data();
    void startAndEnd();
};

void tst_main_offscreen::startAndEnd_data() {
    QTest::addColumn<QByteArray>("found"); // the settings file before, or "none"
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("first start: the defaults written") << QByteArray("none") << record(1, 44);
    QTest::newRow("an earlier table: read, left alone")
        << record(5, 3, "Ana") << record(5, 3, "Ana");
}

void tst_main_offscreen::startAndEnd() {
    QFETCH(QByteArray, found);
    QFETCH(QByteArray, after);
    const QString game = qEnvironmentVariable("VELTRANO_GAME");
    QVERIFY2(QFileInfo(game).isExecutable(), "VELTRANO_GAME names the built game");
    QTemporaryDir dir;
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    const QString cfg = folder + u"/VELTRANO.CFG"_s, help = folder + u"/DOC.HLP"_s;
    QVERIFY(QFile::copy(QFileInfo(game).dir().filePath(u"DOC.HLP"_s), help));
    const QByteArray helpBytes = readAll(help);
    QFile earlier(cfg);
    QVERIFY(found == "none" || (earlier.open(QIODevice::WriteOnly) && earlier.write(found) == 368));
    earlier.close();

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(game, {});
    QVERIFY(process.waitForStarted(10'000));
    // Through its start-up: the folder held, the settings read and closed,
    // the game still running a second later.
    QTRY_VERIFY_WITH_TIMEOUT(openFiles(process.processId()).contains(folder), 20'000);
    QTest::qWait(1000);
    QCOMPARE(process.state(), QProcess::Running);
    QVERIFY(!openFiles(process.processId()).contains(cfg));
    QCOMPARE(readAll(cfg), after);

    // Ended as a session ends it: nothing is saved at exit, so nothing is
    // left half-written either.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(::kill(pid_t(process.processId()), SIGTERM), 0);
    QVERIFY(process.waitForFinished(5000));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(u"%1 ms"_s.arg(clock.elapsed())));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit); // ended by the signal
    QCOMPARE(process.exitCode(), SIGTERM);               // not by a crash of its own
    QCOMPARE(readAll(cfg), after);
    QCOMPARE(readAll(help), helpBytes);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"DOC.HLP"_s, u"VELTRANO.CFG"_s}));
}

QTEST_GUILESS_MAIN(tst_main_offscreen)
#include "tst_main_offscreen.moc"
