// SPDX-License-Identifier: GPL-3.0-or-later
// The data files against what may stand in their place or happen to them:
// links out of the folder, a FIFO, a full or failing disk, a second copy of
// the game writing meanwhile, folders no path can name.
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FolderFile.h"
#include "Player.h"
#include "RecordFile.h"
#include "SavedGame.h"
#include "Score.h"
#include "Settings.h"
#include "StorageTest.h"
#include "rules.h"

using namespace Qt::StringLiterals;
using namespace storagetest;
namespace fs = std::filesystem;

class tst_files : public QObject {
    Q_OBJECT
    static int failingRead(storage::SystemCall call, std::size_t &) {
        return call == storage::SystemCall::Read ? EIO : 0;
    }
private Q_SLOTS:
    void refusals_data();
    void refusals();
    void faults_data();
    void faults();
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
    takeStartDirectory();
    recordFailures();
    SetDefaultSettings();
    storage::setFaultHook(found == u"cfg eio" ? failingRead : nullptr);
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
    storage::setFaultHook(nullptr);
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

namespace {
// The faults a row stands in: "start:" or "command:", then for each the
// call, the first and last time it counts, and the error, "half" for a
// write cut to half, "other" for another copy writing its table then.
struct Fault {
    storage::SystemCall call;
    int from, to, action;
};
std::vector<Fault> planned;
std::array<int, 16> calls{};
QByteArray otherCopy;
constexpr int kHalf = -1, kOther = -2;

int standIn(storage::SystemCall call, std::size_t &size) {
    const int n = ++calls[static_cast<int>(call)];
    for (const Fault &f : planned) {
        if (f.call == call && n >= f.from && n <= f.to) {
            if (f.action == kHalf) {
                size /= 2;
            } else if (f.action == kOther) {
                writeAll(u"VELTRANO.CFG"_s, otherCopy);
            } else {
                return f.action;
            }
        }
    }
    return 0;
}

void plan(const QString &faults, const QString &phase) {
    static const QStringList names{u"Open"_s,   u"OpenToWrite"_s, u"Create"_s, u"Stat"_s,
                                   u"Read"_s,   u"Write"_s,       u"Sync"_s,   u"Close"_s,
                                   u"Rename"_s, u"Remove"_s,      u"Lock"_s,   u"Mode"_s};
    planned.clear();
    calls.fill(0);
    storage::setFaultHook(faults.startsWith(phase) ? standIn : nullptr);
    for (const QString &f : faults.section(u':', 1).split(u',', Qt::SkipEmptyParts)) {
        const QStringList w = f.split(u' ', Qt::SkipEmptyParts);
        const QStringList range = w[1].split(u'-');
        planned.push_back({storage::SystemCall(names.indexOf(w[0])), range[0].toInt(),
                           range.value(1, range[0]).toInt(),
                           w[2] == u"half"    ? kHalf
                           : w[2] == u"other" ? kOther
                                              : w[2].toInt()});
    }
}

// Looks, board and the first ranks, each "name/marbles/duration".
QByteArray settings(int look, int board, int kind,
                    const QStringList &rows = {u"B/3/00:00:09"_s, u"C/5/00:00:20"_s}) {
    QByteArray b(368, '\0');
    const char choices[] = {char(look), 0, char(board), 0, char(kind), 0};
    b.replace(43, 6, QByteArray(choices, 6));
    for (int r = 1; r <= 10; ++r) {
        const QList<QByteArray> row = rows.value(r - 1, u"/44/"_s).toLatin1().split('/');
        b.replace(nameAt(r), 1 + row[0].size(), char(row[0].size()) + row[0]);
        b.replace(durationAt(r), 1 + row[2].size(), char(row[2].size()) + row[2]);
        b[marblesAt(r)] = char(row[1].toInt());
    }
    return b;
}

QString shown(const QByteArray &b) {
    return b.size() < 368
               ? u"short"_s
               : u"%1/%2/%3 "_s.arg(int16At(b, 43)).arg(int16At(b, 45)).arg(int16At(b, 47)) +
                     rowAt(b, 1) + u' ' + rowAt(b, 2);
}

QByteArray game(int kind, const QString &chrono) {
    veltrano::Grille g;
    veltrano::reset_plateau(g, veltrano::BoardKind(kind));
    fillSavedGameRecord(u"Ana"_s, chrono, veltrano::start_tray_count(veltrano::BoardKind(kind)), g);
    return QByteArray(SavedGameRecord.data(), SavedGameRecord.size());
}
} // namespace

// A fault of the disk, of the folder or of another copy of the game, at one
// of the system calls of a start and a command: what the player is told,
// and what the files hold afterwards. A record is always the old one or
// the new one, never a mixture; nothing is left beside it.
void tst_files::faults_data() {
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("after");
    const QString kept = u"3/3/2 B/3/00:00:09 C/5/00:00:20"_s, moved = u"3/4/2"_s + kept.mid(5);
    const QString denied = u"Accès au fichier refusé"_s, full = u"Disque plein"_s;
    QTest::newRow("cut short while running, then Plateau")
        << u"table"_s << QString() << u"cut, Plateau"_s << QString() << moved;
    QTest::newRow("start-up read fails, then Plateau")
        << u"table"_s << u"start: Read 1 5"_s << u"Plateau"_s << u"Erreur E/S 5"_s
        << u"3/2/2 B/3/00:00:09 C/5/00:00:20"_s;
    QTest::newRow("read-only at the end of a game: no name asked")
        << u"table"_s << u"command: OpenToWrite 1-99 13"_s << u"insert"_s << denied << kept;
    QTest::newRow("short, in a folder that takes no new file")
        << u"short"_s << u"start: Create 1-99 13"_s << u"Plateau"_s << QString()
        << u"1/2/1 /44/ /44/"_s;
    QTest::newRow("short write into the table")
        << u"table"_s << u"command: Write 1 half, Write 2 28"_s << u"insert"_s << full << kept;
    QTest::newRow("other copy writes while this one is busy")
        << u"table"_s << u"command: Write 1 other"_s << u"insert"_s << QString()
        << u"3/3/2 A/1/00:00:05 D/1/00:00:01"_s;
    QTest::newRow("folder can't be held: told once, no file")
        << u"nothing"_s << u"start: Open 1 24"_s << u"Plateau, Sauver"_s
        << u"Trop de fichiers ouverts"_s << QString();
    QTest::newRow("leftovers of a stopped copy")
        << u"leftovers"_s << QString() << QString() << QString() << u"1/1/1 /44/ /44/"_s;
    QTest::newRow("fstat fails") << u"table"_s << u"start: Stat 2 5"_s << QString()
                                 << u"Erreur E/S 5"_s << kept;
    QTest::newRow("close fails after a synced write")
        << u"table"_s << u"command: Close 1 5"_s << u"Plateau"_s << QString() << moved;
    QTest::newRow("lock fails") << u"table"_s << u"command: Lock 1 5"_s << u"Plateau"_s
                                << u"Erreur E/S 5"_s << kept;
    QTest::newRow("hard link out of the folder")
        << u"link"_s << QString() << u"Plateau"_s << QString() << moved;
    QTest::newRow("short write over a saved game")
        << u"game"_s << u"command: Write 1 half, Write 2 28"_s << u"Sauver"_s << full
        << u"game 00:00:07"_s;
}

void tst_files::faults() {
    QFETCH(QString, found);
    QFETCH(QString, faults);
    QFETCH(QString, command);
    QFETCH(QString, told);
    QFETCH(QString, after);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()) && QDir().mkdir(u"start"_s));
    const QByteArray outside = found == u"link" ? settings(3, 3, 2) : QByteArray("not ours");
    QVERIFY(writeAll(u"outside"_s, outside) && QDir::setCurrent(u"start"_s));
    const char *cfg = "VELTRANO.CFG";
    const QString file = QString::fromLatin1(cfg);
    otherCopy = settings(3, 3, 2, {u"D/1/00:00:01"_s, u"B/3/00:00:09"_s, u"C/5/00:00:20"_s});
    if (found == u"table" || found == u"short") {
        QVERIFY(writeAll(file, settings(3, 3, 2).left(found == u"short" ? 100 : 368)));
        QCOMPARE(::chmod(cfg, 0640), 0);
    } else if (found == u"link") {
        QCOMPARE(::link("../outside", cfg), 0);
    } else if (found == u"game") {
        QVERIFY(writeAll(u"GAME"_s, game(1, u"00:00:07"_s)));
    }
    const pid_t gone = ::fork(); // a process id nobody holds once it is reaped
    gone == 0 ? ::_exit(0) : void(::waitpid(gone, nullptr, 0));
    const QStringList hidden{u".VELTRANO.CFG.%1.1.2"_s.arg(gone), u".GAME.%1.3.4"_s.arg(gone),
                             u".VELTRANO.CFG.1.5.6"_s}; // the last one's maker runs
    for (const QString &name : found == u"leftovers" ? hidden : QStringList()) {
        QVERIFY(writeAll(name, "half"));
    }

    startDirectory = QDir::currentPath() + u'/';
    recordFailures();
    decodeSettings(SettingsBytes{}); // a game just started: nothing read yet
    SetDefaultSettings();
    plan(faults, u"start"_s);
    takeStartDirectory();
    OpenSettings();
    ReadSettings();
    CloseSettings();
    plan(faults, u"command"_s);
    if (command.startsWith(u"cut")) {
        QCOMPARE(::truncate(cfg, 100), 0);
    }
    if (command.contains(u"Plateau")) {
        SettingsRecord.boardTexture = std::int16_t(SettingsRecord.boardTexture % 4 + 1);
        OpenSettings();
        WriteSettings();
        CloseSettings();
    }
    int asked = 0;
    if (command == u"insert") {
        InsertScore(44 - 1, u"00:00:05"_s, [&] { ++asked, playerName = u"A"_s; });
        QCOMPARE(asked, told == u"Accès au fichier refusé"_s ? 0 : 1);
    }
    if (command.contains(u"Sauver") && OpenSavedGame() != SavedGameFile::Failed) {
        game(2, u"00:00:08"_s);
        WriteSavedGame();
        CloseSavedGame();
    }
    storage::setFaultHook(nullptr);
    QCOMPARE(reported().join(u'|'), told);

    SavedGame saved;
    const QByteArray g = readAll(u"GAME"_s);
    SavedGameBytes record{};
    std::copy(g.begin(), g.begin() + std::min<qsizetype>(g.size(), 677), record.begin());
    const bool isGame = g.size() == 677 && decodeSavedGame(record, saved).isEmpty();
    QCOMPARE(found == u"game"      ? u"game "_s + (isGame ? saved.chrono : u"damaged"_s)
             : QFile::exists(file) ? shown(readAll(file))
                                   : QString(),
             after);
    QCOMPARE(readAll(u"../outside"_s), outside);
    struct stat mode {};
    QVERIFY(found != u"table" || (::stat(cfg, &mode) == 0 && (mode.st_mode & 0777) == 0640));
    const QStringList left = QDir().entryList(QDir::Hidden | QDir::Files | QDir::System);
    QCOMPARE(left.filter(QRegularExpression(u"^\\."_s)),
             found == u"leftovers" ? QStringList{hidden[2]} : QStringList());
    QVERIFY(QDir::setCurrent(dir.path()));
}

QTEST_GUILESS_MAIN(tst_files)
#include "tst_files.moc"
