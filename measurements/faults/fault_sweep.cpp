// SPDX-License-Identifier: GPL-3.0-or-later
// Fault sweep over the data files: every command that touches them is run
// once to count its system calls, then again once per call and per fault:
// the call fails with EIO, fails with ENOSPC, writes half and then finds the
// disk full, or the game is killed just before it. Each run is a process of
// its own, in a folder of its own; afterwards the files must hold the
// record as it was or as the command makes it, nothing may be left beside
// them once the folder is next used, and no row of the table may be lost.
//
//   cmake --build <dir> --target fault_sweep && <dir>/measurements/faults/fault_sweep
//
// Prints one line per command and the totals; answers 1 when a run broke
// one of those rules.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

#include "FolderFile.h"
#include "Player.h"
#include "RecordFile.h"
#include "SavedGame.h"
#include "Score.h"
#include "Settings.h"
#include "looks.h"
#include "rules.h"

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Eio, Enospc, Half, Kill };
constexpr std::array kKinds{Kind::Eio, Kind::Enospc, Kind::Half, Kind::Kill};

int callCount = 0;
int faultAt = 0;
Kind faultKind = Kind::Eio;
bool cutShort = false;

int standIn(storage::SystemCall call, std::size_t &size) {
    ++callCount;
    if (cutShort && call == storage::SystemCall::Write) {
        return ENOSPC; // the write after the half one
    }
    if (callCount != faultAt) {
        return 0;
    }
    switch (faultKind) {
    case Kind::Eio:
        return EIO;
    case Kind::Enospc:
        return ENOSPC;
    case Kind::Half:
        size /= 2;
        cutShort = true;
        return 0;
    case Kind::Kill:
        ::_exit(137);
    }
    return 0;
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

// A table of four named rows with looks 3/2 and the 45-hole board.
QByteArray startingSettings() {
    SetDefaultSettings();
    SettingsRecord.marbleTexture = 3;
    SettingsRecord.boardTexture = 2;
    SettingsRecord.boardKind = 2;
    const char *names[] = {"Ana", "Bo", "Cy", "Di"};
    for (int r = 1; r <= 4; ++r) {
        SettingsRecord.scores[r] =
            ScoreEntry{QString::fromLatin1(names[r - 1]), static_cast<std::int16_t>(2 * r),
                       u"00:0%1:00"_s.arg(r)};
    }
    const SettingsBytes bytes = encodeSettings();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray savedGame(int kind, const QString &chrono) {
    veltrano::Grille grille;
    veltrano::reset_plateau(grille, veltrano::BoardKind(kind));
    fillSavedGameRecord(u"Ana"_s, chrono, veltrano::start_tray_count(veltrano::BoardKind(kind)),
                        grille);
    return QByteArray(SavedGameRecord.data(), qsizetype(SavedGameRecord.size()));
}

void startUp() {
    startDirectory = QDir::currentPath() + u'/';
    takeStartDirectory();
    OpenSettings();
    ReadSettings();
    CloseSettings();
}

void saveSettings() {
    OpenSettings();
    WriteSettings();
    CloseSettings();
}

struct Command {
    const char *name;
    bool shortSettings; // the settings file is found cut short
    bool faultsAtStart; // the faults fall on the start-up itself
    std::function<void()> run;
};

const std::vector<Command> &commands() {
    static const std::vector<Command> all{
        {"start-up read", false, true, [] {}},
        {"start-up, short file", true, true, [] {}},
        {"win + name", false, false,
         [] { InsertScore(44 - 1, u"00:07:00"_s, [] { playerName = u"Eve"_s; }); }},
        {"Plateau", false, false,
         [] {
             SettingsRecord.boardTexture =
                 std::int16_t(veltrano::next_look(SettingsRecord.boardTexture, 4));
             saveSettings();
         }},
        {"Billes", false, false,
         [] {
             SettingsRecord.marbleTexture =
                 std::int16_t(veltrano::next_look(SettingsRecord.marbleTexture, 7));
             saveSettings();
         }},
        {"board choice", false, false,
         [] {
             SettingsRecord.boardKind = 1;
             saveSettings();
         }},
        {"Sauver", false, false,
         [] {
             if (OpenSavedGame() != SavedGameFile::Failed) {
                 savedGame(2, u"00:00:09"_s);
                 WriteSavedGame();
                 CloseSavedGame();
             }
         }},
        {"Charger", false, false,
         [] {
             if (OpenSavedGame() == SavedGameFile::Failed || !CloseSavedGame() ||
                 OpenSavedGame() == SavedGameFile::Failed) {
                 return;
             }
             const bool read = ReadSavedGame();
             if (CloseSavedGame() && read) {
                 SavedGame game;
                 decodeSavedGame(SavedGameRecord, game);
             }
         }},
    };
    return all;
}

// Runs the command in a process of its own, in the folder that is current;
// the answer is the number of calls it made (the fault counts in).
int runOnce(const Command &command, int at, Kind kind) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        setIoFailureReporter([](const QString &) {});
        faultAt = at;
        faultKind = kind;
        if (command.faultsAtStart) {
            storage::setFaultHook(standIn);
        }
        startUp();
        storage::setFaultHook(standIn);
        command.run();
        storage::setFaultHook(nullptr);
        ::_exit(callCount > 250 ? 250 : callCount);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int hiddenFiles() {
    return int(QDir()
                   .entryList(QDir::Hidden | QDir::Files | QDir::System)
                   .filter(QRegularExpression(u"^\\.(VELTRANO\\.CFG|GAME)\\."_s))
                   .size());
}

QStringList names(const QByteArray &bytes) {
    QStringList found;
    if (bytes.size() < 368) {
        return found;
    }
    SettingsBytes record{};
    std::copy_n(bytes.constData(), 368, reinterpret_cast<char *>(record.data()));
    decodeSettings(record);
    for (int r = 1; r <= 10; ++r) {
        found << SettingsRecord.scores[r].name;
    }
    return found;
}

// Two copies of the game finishing games in the same folder at once, each
// entering its own rows; with the folder's lock, and without it (a file
// system without locks), where only the look before landing keeps a copy
// from writing over the other's rows.
int rowsLostByTwoCopies(bool withLock, int rounds) {
    int lost = 0;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        writeAll(u"VELTRANO.CFG"_s, startingSettings().left(100)); // no rows yet
        pid_t copies[2];
        for (int copy = 0; copy < 2; ++copy) {
            copies[copy] = ::fork();
            if (copies[copy] == 0) {
                setIoFailureReporter([](const QString &) {});
                if (!withLock) {
                    storage::setFaultHook([](storage::SystemCall call, std::size_t &) {
                        return call == storage::SystemCall::Lock ? ENOLCK : 0;
                    });
                }
                startUp();
                for (int row = 0; row < 4; ++row) {
                    InsertScore(44 - (row + 1), u"00:00:0%1"_s.arg(row), [copy, row] {
                        playerName = u"%1%2"_s.arg(QChar(u'A' + copy)).arg(row);
                    });
                }
                ::_exit(0);
            }
        }
        for (const pid_t copy : copies) {
            ::waitpid(copy, nullptr, 0);
        }
        lost += 8 - int(names(readAll(u"VELTRANO.CFG"_s))
                            .filter(QRegularExpression(u"^[AB]\\d$"_s))
                            .size());
    }
    return lost;
}

struct Counts {
    int runs = 0, oldOrNew = 0, neither = 0, leftAfterRun = 0, leftAfterNextUse = 0, rowsLost = 0;
    void add(const Counts &o) {
        runs += o.runs, oldOrNew += o.oldOrNew, neither += o.neither;
        leftAfterRun += o.leftAfterRun, leftAfterNextUse += o.leftAfterNextUse;
        rowsLost += o.rowsLost;
    }
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    setIoFailureReporter([](const QString &) {});
    const QByteArray settingsBefore = startingSettings();
    const QByteArray gameBefore = savedGame(1, u"00:00:05"_s);
    Counts total;
    std::printf("%-22s %5s %5s %8s %6s %6s %9s\n", "command", "calls", "runs", "old/new", "other",
                "temps", "rows lost");
    for (const Command &command : commands()) {
        QTemporaryDir dir;
        const auto reset = [&] {
            QDir::setCurrent(dir.path());
            for (const QString &name : QDir().entryList(QDir::Hidden | QDir::Files)) {
                QFile::remove(name);
            }
            writeAll(u"VELTRANO.CFG"_s, settingsBefore.left(command.shortSettings ? 100 : 368));
            writeAll(u"GAME"_s, gameBefore);
        };
        reset();
        const int calls = runOnce(command, 0, Kind::Eio);
        const QByteArray settingsAfter = readAll(u"VELTRANO.CFG"_s);
        const QByteArray gameAfter = readAll(u"GAME"_s);
        const QStringList rowsBefore = names(settingsBefore);
        Counts counts;
        for (int at = 1; at <= calls; ++at) {
            for (const Kind kind : kKinds) {
                reset();
                runOnce(command, at, kind);
                ++counts.runs;
                const QByteArray settings = readAll(u"VELTRANO.CFG"_s);
                const QByteArray game = readAll(u"GAME"_s);
                const bool settingsKept =
                    settings == settingsAfter ||
                    settings == settingsBefore.left(command.shortSettings ? 100 : 368);
                const bool gameKept = game == gameAfter || game == gameBefore;
                if (settingsKept && gameKept) {
                    ++counts.oldOrNew;
                } else {
                    ++counts.neither;
                    std::printf("  %s, call %d, fault %d: %s\n", command.name, at, int(kind),
                                settingsKept ? "saved game mixed" : "settings mixed");
                }
                counts.leftAfterRun += hiddenFiles();
                // The next use of the folder: a new start of the game.
                runOnce(commands()[0], 0, Kind::Eio);
                counts.leftAfterNextUse += hiddenFiles();
                const QStringList rows = names(readAll(u"VELTRANO.CFG"_s));
                for (const QString &name : rowsBefore) {
                    if (!name.isEmpty() && !rows.contains(name) && !command.shortSettings) {
                        ++counts.rowsLost;
                    }
                }
            }
        }
        std::printf("%-22s %5d %5d %8d %6d %6d %9d   (temps left by the runs themselves: %d)\n",
                    command.name, calls, counts.runs, counts.oldOrNew, counts.neither,
                    counts.leftAfterNextUse, counts.rowsLost, counts.leftAfterRun);
        total.add(counts);
    }
    const int rounds = 100;
    const int lostLocked = rowsLostByTwoCopies(true, rounds);
    const int lostUnlocked = rowsLostByTwoCopies(false, rounds);
    std::printf("two copies, 4 rows each, %d rounds: rows lost %d with the lock, %d without it\n",
                rounds, lostLocked, lostUnlocked);
    // Without any lock, two copies checking and landing within the same
    // microseconds can still pass each other: measured, not held against.
    total.rowsLost += lostLocked;
    std::printf("%-22s %5s %5d %8d %6d %6d %9d   (temps left by the runs themselves: %d)\n",
                "total", "", total.runs, total.oldOrNew, total.neither, total.leftAfterNextUse,
                total.rowsLost, total.leftAfterRun);
    return total.neither + total.leftAfterNextUse + total.rowsLost == 0 ? 0 : 1;
}
