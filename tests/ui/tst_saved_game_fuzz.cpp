// Random and mutated saved games, loaded through "Charger" into the real
// main window, built under the address and undefined-behaviour sanitizers:
// every count, grid values across the whole 16-bit range, names and chronos
// of random bytes, truncated and overlong files. A record is either refused
// with the game left exactly as it was, or loaded as a sound position that
// the window shows and counts as the rules do.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <random>
#include <sys/stat.h>
#include <vector>

#include "GameWindow.h"
#include "Main.h"
#include "RecordFile.h"
#include "SavedRecord.h"
#include "position.h"

using namespace Qt::StringLiterals;
using namespace uitest;

namespace {

int failures = 0;
void countFailure(const QString &) {
    ++failures;
}

struct Seed {
    veltrano::Grille grille;
    int tray;
};

// Positions reached by random play on both boards, from the start to the
// end: the tests' model picks each jump among those it allows.
std::vector<Seed> playedPositions(std::mt19937 &rng) {
    std::vector<Seed> seeds;
    for (const int kind : {1, 2}) {
        for (int game = 0; game < 20; ++game) {
            veltrano::Grille g;
            veltrano::reset_plateau(g, kind);
            veltrano::etat_plateau(g);
            int tray = veltrano::start_tray_count(kind);
            seeds.push_back({g, tray});
            BoardModel model(kind);
            for (std::vector<Jump> jumps = model.jumps(); !jumps.empty(); jumps = model.jumps()) {
                const Jump j = jumps[rng() % jumps.size()];
                model.play(j);
                const GridCell from = cellOfHole(j.from);
                const GridCell to = cellOfHole(j.to);
                if (!veltrano::apply_jump(g, from.x, from.y, to.x, to.y)) {
                    qFatal("the rules refused a jump the model allows");
                }
                veltrano::etat_plateau(g);
                seeds.push_back({g, ++tray});
            }
        }
    }
    return seeds;
}

QByteArray randomBytes(std::mt19937 &rng, int size) {
    QByteArray bytes(size, '\0');
    for (char &b : bytes) {
        b = static_cast<char>(rng());
    }
    return bytes;
}

// Rewritten in place rather than truncated: emptying a file on some disks
// costs milliseconds, which a hundred thousand records cannot afford.
bool rewrite(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size() && f.resize(bytes.size());
}

const int kValues[] = {-32768, -257, -3, -2, -1, 0, 1, 2, 3, 4, 256, 32767};

QByteArray mutate(std::mt19937 &rng, QByteArray r) {
    const int changes = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < changes; ++i) {
        switch (rng() % 6) {
        case 0: // any byte
            r[rng() % 677] = static_cast<char>(rng());
            break;
        case 1: // any count, the edges of its range more often
            putInt16(r, 27, rng() % 2 ? static_cast<int>(rng() % 50) - 2 : static_cast<int>(rng()));
            break;
        case 2:
        case 3: // a grid value, from the edges of the range or at random
            putInt16(r, 29 + 2 * static_cast<int>(rng() % 324),
                     rng() % 2 ? kValues[rng() % std::size(kValues)] : static_cast<int>(rng()));
            break;
        case 4: // the chrono, from sound to nonsense
            r.replace(16, 11,
                      rng() % 2 ? QByteArray("123:4:5") + randomBytes(rng, 4)
                                : randomBytes(rng, 11));
            break;
        default: // the name, with or without its zero
            r.replace(0, 16, randomBytes(rng, 16));
        }
    }
    return r;
}

} // namespace

class tst_saved_game_fuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void records();
};

void tst_saved_game_fuzz::records() {
    setIoFailureReporter(countFailure);
    // VELTRANO_FUZZ_SEED and VELTRANO_FUZZ_INPUTS make a longer run without an edit.
    std::mt19937 rng(qEnvironmentVariable("VELTRANO_FUZZ_SEED", u"20261207"_s).toUInt());
    const std::vector<Seed> seeds = playedPositions(rng);
    GameWindow w;
    const QString path = w.directory() + u"/GAME"_s;

    // A pipe and a directory in the file's place: told at once, never waited on.
    QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    w->chargerClick();
    QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    w->chargerClick();
    QVERIFY(QDir().rmdir(path));
    QCOMPARE(failures, 2);

    // No file, then a file marked empty: both answered by a notice.
    for (int i = 0; i < 2; ++i) {
        w.modals().expect([](QWidget *modal) { static_cast<QMessageBox *>(modal)->accept(); });
        w->chargerClick();
        QCOMPARE(w.modals().pending(), 0);
    }

    const int kRecords = qEnvironmentVariable("VELTRANO_FUZZ_INPUTS", u"100000"_s).toInt();
    int loaded = 0;
    int refused = 0;
    for (int i = 0; i < kRecords; ++i) {
        const Seed &seed = seeds[rng() % seeds.size()];
        const QByteArray sound = savedRecord("Fuzz", "01:02:03", seed.tray, seed.grille);
        QByteArray file;
        switch (rng() % 8) {
        case 0:
            file = randomBytes(rng, 677);
            break;
        case 1:
            file = sound.left(static_cast<int>(rng() % 677));
            break;
        case 2:
            file = mutate(rng, sound) + randomBytes(rng, 1 + static_cast<int>(rng() % 64));
            break;
        case 3:
            file = sound;
            break;
        default:
            file = mutate(rng, sound);
        }
        // A record marked empty would only bring up the notice again.
        if (file.size() >= 29 && int16At(file, 27) == -1) {
            putInt16(file, 27, 0);
        }
        QVERIFY(rewrite(path, file));
        if (!w->au_repos) {
            w->etat_jeuxClick(); // put the marbles back; asks nothing
        }
        const veltrano::Grille before = w->grille;
        const int failuresBefore = failures;
        w->chargerClick();
        if (failures != failuresBefore) {
            QCOMPARE(failures, failuresBefore + 1);
            QVERIFY(w->au_repos);
            QVERIFY(w->grille == before);
            QCOMPARE(w->nb_repos, 44);
            ++refused;
            continue;
        }
        ++loaded;
        QVERIFY(!w->au_repos);
        QCOMPARE(veltrano::check_position(w->grille, w->nb_repos), veltrano::PositionFault::none);
        QCOMPARE(w->nb_mobiles, veltrano::nb_mobiles(w->grille));
        QCOMPARE(w->billes_repos->text(), QString::number(44 - w->nb_repos));
        QVERIFY(w->heures >= 0 && w->minutes < 60 && w->secondes < 60);
        if (loaded % 16 == 0) {
            // The pointer over every hole judges each against the loaded board.
            for (int n = 1; n <= 45; ++n) {
                w->pmove(n);
            }
        }
    }
    QCOMPARE(w.modals().unexpected(), QStringList());
    qInfo("%d records loaded, %d refused", loaded, refused);
    QVERIFY(loaded > kRecords / 10);
    QVERIFY(refused > kRecords / 2);
}

QTEST_MAIN(tst_saved_game_fuzz)
#include "tst_saved_game_fuzz.moc"
