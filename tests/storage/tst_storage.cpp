// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file through the game's own calls, checked with the test's
// own reader of its bytes.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "Player.h"
#include "RecordFile.h"
#include "Score.h"
#include "Settings.h"
#include "StorageTest.h"

using namespace Qt::StringLiterals;
using namespace storagetest;
using L = QList<int>;

namespace {
QString cfg() {
    return startDirectory + u"VELTRANO.CFG"_s;
}

void bracket(bool write) {
    OpenSettings();
    write ? WriteSettings() : ReadSettings();
    CloseSettings();
}

QString rowInMemory(int r) {
    const ScoreEntry &e = SettingsRecord.scores[r];
    return e.name + u'/' + QString::number(e.marblesLeft) + u'/' + e.duration;
}

// Ranks 1..10 with the given marbles, named P1..P0, lasting 00:00:01..
QByteArray table(const L &marbles) {
    QByteArray b(368, '\0');
    for (int r = 1; r <= 10; ++r) {
        b.replace(nameAt(r), 3, "\x02P" + QByteArray::number(r % 10));
        b.replace(durationAt(r), 9,
                  "\x08"
                  "00:00:0" +
                      QByteArray::number(r % 10));
        b[marblesAt(r)] = static_cast<char>(marbles[r - 1]);
    }
    return b;
}
} // namespace

class tst_storage : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        startDirectory = dir_->path() + u'/';
        recordFailures();
        decodeSettings(SettingsBytes{}); // no slot 0 left over from an earlier test
        SetDefaultSettings();
    }
    void failures_data();
    void failures();
    void records_data();
    void records();
    void insertScore_data();
    void insertScore();
};

// What the player is told; a failed bracket leaves memory alone, and each
// later bracket tells once more.
void tst_storage::failures_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("error"); // for the rows that only name a cause
    QTest::addColumn<QString>("text");
    const QString denied = u"Accès au fichier refusé"_s;
    QTest::newRow("directory") << u"directory"_s << 0 << denied;
    QTest::newRow("read-only directory") << u"read-only"_s << 0 << denied;
    QTest::newRow("disk full") << u"full"_s << 0 << u"Disque plein"_s;
    QTest::newRow("missing directory") << u"nowhere/"_s << 0 << u"Fichier introuvable"_s;
    QTest::newRow("name too long")
        << QString(300, u'x') + u'/' << 0 << u"Nom de fichier incorrect"_s;
    QTest::newRow("too many files") << QString() << EMFILE << u"Trop de fichiers ouverts"_s;
    QTest::newRow("short read") << QString() << -1 << u"Lecture au delà de la fin de fichier"_s;
    QTest::newRow("other") << QString() << EIO << u"Erreur E/S %1"_s.arg(EIO);
}

void tst_storage::failures() {
    QFETCH(QString, place);
    QFETCH(int, error);
    QFETCH(QString, text);
    if (place.isEmpty()) {
        QCOMPARE(ioFailureText(error < 0 ? IoStatus{IoFailure::ReadPastEnd, 0}
                                         : IoStatus::fromErrno(error)),
                 text);
        return;
    }
    std::unique_ptr<ReadOnlyMount> mount;
    if (place == u"directory") {
        QVERIFY(QDir().mkdir(cfg()));
    } else if (place == u"read-only" || place == u"full") {
        mount = std::make_unique<ReadOnlyMount>(dir_->path(), place == u"full");
        if (!mount->mounted) {
            QSKIP("only root can mount a small file system");
        }
    } else {
        startDirectory += place;
    }
    SettingsRecord.boardKind = 2;
    SettingsRecord.scores[1] = ScoreEntry{u"Zoé"_s, 3, u"00:10:00"_s};
    for (bool write : {false, true}) {
        reported().clear();
        OpenSettings();
        write ? WriteSettings() : ReadSettings();
        QVERIFY(!CloseSettings());
        QCOMPARE(reported(), QStringList{text});
        QCOMPARE(rowInMemory(1), u"Zoé/3/00:10:00"_s);
        QCOMPARE(SettingsRecord.boardKind, 2);
    }
}

// A file as it may be found, what the game then holds, and the file after
// the game has written that back: every field where the record puts it,
// the reserved bytes zero, slots 0 and anything past the record untouched.
void tst_storage::records_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<L>("choices"); // marble look, board picture, board
    QTest::addColumn<QString>("rank1");

    QByteArray good = table({7, 44, 44, 44, 44, 44, 44, 44, 44, 44});
    good.replace(43, 6, QByteArray("\x07\0\x04\0\x02\0", 6));
    good.replace(nameAt(1), 9,
                 "\x08L\xe9"
                 "a \x80\x8c\x81\xff");
    good.replace(0, 4, "junk");
    good.replace(nameAt(0), 4,
                 "\x03"
                 "abc");
    good.replace(durationAt(0), 2,
                 "\xff"
                 "Z");
    good.replace(marblesAt(0), 2, "\x01\x02");
    const QString lea = u"Léa €Œ\u0081ÿ/7/00:00:01"_s;
    const L defaults{1, 1, 1};

    QTest::newRow("empty") << QByteArray() << defaults << u"/44/"_s;
    QTest::newRow("one byte") << QByteArray(1, 'x') << defaults << u"/44/"_s;
    QTest::newRow("367 bytes") << good.left(367) << defaults << u"/44/"_s;
    QTest::newRow("368 bytes") << good << L{7, 4, 2} << lea;
    QTest::newRow("10000 bytes") << good + QByteArray(9632, 't') << L{7, 4, 2} << lea;
    QByteArray past = good;
    past.replace(nameAt(1), 16,
                 "\xff"
                 "ABCDEFGHIJKLMNO");
    past.replace(durationAt(1), 11,
                 "\x0b"
                 "0123456789");
    QTest::newRow("lengths past their slots")
        << past << L{7, 4, 2} << u"ABCDEFGHIJKLMNO/7/0123456789"_s;
    QByteArray wild = good;
    wild.replace(43, 6, QByteArray("\0\0\0\x80\xff\x7f", 6));
    wild.replace(marblesAt(1), 2, "\xf4\x01");
    QTest::newRow("any integer") << wild << L{0, -32768, 32767} << u"Léa €Œ\u0081ÿ/500/00:00:01"_s;
}

void tst_storage::records() {
    QFETCH(QByteArray, file);
    QFETCH(L, choices);
    QFETCH(QString, rank1);

    QVERIFY(writeAll(cfg(), file));
    bracket(false);
    QCOMPARE(
        (L{SettingsRecord.marbleTexture, SettingsRecord.boardTexture, SettingsRecord.boardKind}),
        choices);
    QCOMPARE(rowInMemory(1), rank1);
    bracket(true);
    QVERIFY(reported().isEmpty());

    const QByteArray b = readAll(cfg());
    QCOMPARE(b.size(), std::max<qsizetype>(file.size(), 368));
    QCOMPARE(b.left(43), QByteArray(43, '\0'));
    QCOMPARE((L{int16At(b, 43), int16At(b, 45), int16At(b, 47)}), choices);
    for (int r = 1; r <= 10; ++r) {
        QCOMPARE(rowAt(b, r), rowInMemory(r));
    }
    const bool kept = file.size() >= 368;
    for (auto [at, width] : {std::pair{nameAt(0), 16}, {durationAt(0), 11}, {marblesAt(0), 2}}) {
        QCOMPARE(b.mid(at, width), kept ? file.mid(at, width) : QByteArray(width, '\0'));
    }
    QCOMPARE(b.mid(368), file.mid(368));
}

// The table before, the result, the name typed; where the result enters.
void tst_storage::insertScore_data() {
    QTest::addColumn<L>("marbles"); // empty: no file yet
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rank"); // 0: not asked, nothing enters

    QTest::newRow("first game") << L{} << 1 << u"Ana"_s << 1;
    QTest::newRow("equal goes above") << L{1, 2, 5, 5, 6, 44, 44, 44, 44, 44} << 5 << u"Bo"_s << 3;
    QTest::newRow("rank 10 only") << L{1, 1, 1, 1, 1, 2, 2, 2, 2, 9} << 9 << u"Cy"_s << 10;
    QTest::newRow("rank 1 of a full table") << L{2, 2, 3, 3, 4, 4, 5, 5, 6, 6} << 1 << u"Di"_s << 1;
    QTest::newRow("rank 10 beats it") << L{1, 1, 1, 1, 1, 2, 2, 2, 2, 3} << 4 << u"Ed"_s << 0;
    QTest::newRow("empty name") << L{} << 44 << QString() << 1;
    QTest::newRow("15 characters, blanks kept") << L(10, 0) << 0 << u" fifteen chars "_s << 1;
}

void tst_storage::insertScore() {
    QFETCH(L, marbles);
    QFETCH(int, result);
    QFETCH(QString, typed);
    QFETCH(int, rank);

    QByteArray before = marbles.isEmpty() ? QByteArray(368, '\0') : table(marbles);
    if (!marbles.isEmpty()) {
        before[0] = 'J'; // cleared when the file is written back
        QVERIFY(writeAll(cfg(), before));
    }
    if (!marbles.isEmpty()) {
        SettingsRecord.scores[1].marblesLeft = -5; // the table comes from the disk
    }
    playerName = u"earlier"_s;
    int asked = 0;
    InsertScore(44 - result, u"01:02:03:04:05"_s, [&] {
        ++asked;
        playerName = typed;
    });
    QCOMPARE(asked, rank > 0 ? 1 : 0);

    const QByteArray after = readAll(cfg());
    QCOMPARE(after.at(0), '\0');
    QStringList expected;
    for (int r = 1; r <= 10; ++r) {
        expected << (marbles.isEmpty() ? u"/44/"_s : rowAt(before, r));
    }
    if (rank > 0) {
        expected.insert(rank - 1, u"%1/%2/01:02:03:0"_s.arg(typed).arg(result));
    }
    for (int r = 1; r <= 10; ++r) {
        QCOMPARE(rowAt(after, r), expected[r - 1]);
    }
}

QTEST_GUILESS_MAIN(tst_storage)
#include "tst_storage.moc"
