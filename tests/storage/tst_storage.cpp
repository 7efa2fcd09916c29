#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>

#include "RecordFile.h"
#include "Score.h"
#include "Settings.h"
#include "Shared.h"
#include "StorageTest.h"

using namespace Qt::StringLiterals;
using namespace storagetest;

namespace {
QString cfgPath() {
    return startDirectory + u"VELTRANO.CFG"_s;
}

// A row of the table as "name/marbles/duration".
QString rowText(const ScoreEntry &row) {
    return u"%1/%2/%3"_s.arg(row.name).arg(row.marblesLeft).arg(row.duration);
}

QStringList tableOnDisk() {
    const QByteArray bytes = readAll(cfgPath());
    QStringList rows;
    for (int r = 1; r <= 10; ++r) {
        rows << u"%1/%2/%3"_s.arg(stringAt(bytes, nameAt(r)))
                    .arg(int16At(bytes, marblesAt(r)))
                    .arg(stringAt(bytes, durationAt(r)));
    }
    return rows;
}

void load() {
    OpenSettings();
    ReadSettings();
    CloseSettings();
}

void save() {
    OpenSettings();
    WriteSettings();
    CloseSettings();
}

// A distinctive record in memory, so that a test sees what a failure kept.
void setDistinct() {
    SettingsRecord.marbleTexture = 6;
    SettingsRecord.boardTexture = 3;
    SettingsRecord.boardKind = 2;
    SettingsRecord.scores[1] = ScoreEntry{u"Zoé"_s, 3, u"00:10:00"_s};
}
} // namespace

class tst_storage : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        startDirectory = dir_->path() + u'/';
        recordFailures();
        // Whatever an earlier test left as the last record read goes.
        decodeSettings(SettingsBytes{});
        SetDefaultSettings();
    }

    void failureTexts_data();
    void failureTexts();
    void fileFailures_data();
    void fileFailures();
    void roundTrip_data();
    void roundTrip();
    void damagedFiles_data();
    void damagedFiles();
    void insertScore_data();
    void insertScore();
};

void tst_storage::failureTexts_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("absent") << ENOENT << u"Fichier introuvable"_s;
    QTest::newRow("not a directory") << ENOTDIR << u"Fichier introuvable"_s;
    QTest::newRow("name too long") << ENAMETOOLONG << u"Nom de fichier incorrect"_s;
    QTest::newRow("process limit") << EMFILE << u"Trop de fichiers ouverts"_s;
    QTest::newRow("system limit") << ENFILE << u"Trop de fichiers ouverts"_s;
    QTest::newRow("permission") << EACCES << u"Accès au fichier refusé"_s;
    QTest::newRow("read-only system") << EROFS << u"Accès au fichier refusé"_s;
    QTest::newRow("a directory") << EISDIR << u"Accès au fichier refusé"_s;
    QTest::newRow("no space") << ENOSPC << u"Disque plein"_s;
    QTest::newRow("quota") << EDQUOT << u"Disque plein"_s;
    QTest::newRow("device") << EIO << u"Erreur E/S %1"_s.arg(EIO);
    QTest::newRow("stale") << ESTALE << u"Erreur E/S %1"_s.arg(ESTALE);
    QTest::newRow("short read") << -1 << u"Lecture au delà de la fin de fichier"_s;
}

void tst_storage::failureTexts() {
    QFETCH(int, error);
    QFETCH(QString, text);
    const IoStatus status =
        error < 0 ? IoStatus{IoFailure::ReadPastEnd, 0} : IoStatus::fromErrno(error);
    QVERIFY(!status.ok());
    QCOMPARE(ioFailureText(status), text);
    reportIoFailure(status);
    QCOMPARE(reported(), QStringList{text});
}

// What the player is told, and what the game keeps, when the real file
// system refuses. Memory is never touched by a failed bracket.
void tst_storage::fileFailures_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("told");
    const QString denied = u"Accès au fichier refusé"_s;
    QTest::newRow("directory, read") << u"directory"_s << false << QStringList{denied};
    QTest::newRow("directory, write") << u"directory"_s << true << QStringList{denied};
    QTest::newRow("read-only, read") << u"read-only"_s << false << QStringList{denied};
    QTest::newRow("read-only, write") << u"read-only"_s << true << QStringList{denied};
    QTest::newRow("disk full, write") << u"/dev/full"_s << true << QStringList{u"Disque plein"_s};
    QTest::newRow("missing directory")
        << u"missing"_s << false << QStringList{u"Fichier introuvable"_s};
    QTest::newRow("name too long")
        << u"long"_s << true << QStringList{u"Nom de fichier incorrect"_s};
}

void tst_storage::fileFailures() {
    QFETCH(QString, place);
    QFETCH(bool, write);
    QFETCH(QStringList, told);

    std::unique_ptr<ReadOnlyMount> mount;
    if (place == u"directory") {
        QVERIFY(QDir().mkdir(cfgPath()));
    } else if (place == u"read-only") {
        mount = std::make_unique<ReadOnlyMount>(dir_->path());
        if (!mount->mounted()) {
            QSKIP("mounting a read-only file system needs root");
        }
    } else if (place == u"/dev/full") {
        QVERIFY(QFile::link(u"/dev/full"_s, cfgPath()));
    } else if (place == u"missing") {
        startDirectory += u"nowhere/"_s;
    } else if (place == u"long") {
        startDirectory += QString(300, u'x') + u'/';
    }
    setDistinct();
    OpenSettings();
    write ? WriteSettings() : ReadSettings();
    QVERIFY(!CloseSettings());
    QCOMPARE(reported(), told);
    QCOMPARE(SettingsRecord.boardKind, 2);
    QCOMPARE(SettingsRecord.scores[1].name, u"Zoé"_s);
    // The next bracket tells the player again, once.
    reported().clear();
    save();
    QCOMPARE(reported(), told);
}

// Written by the game, read back by the test's own reader, byte by byte;
// then read by the game into a cleared memory.
void tst_storage::roundTrip_data() {
    QTest::addColumn<QList<int>>("numbers"); // marble look, board, kind, marbles of rank 1
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("duration");
    QTest::newRow("defaults") << QList<int>{1, 1, 1, 44} << QString() << QString();
    QTest::newRow("ordinary") << QList<int>{7, 4, 2, 1} << u"Paul"_s << u"00:12:43"_s;
    QTest::newRow("accents and euro") << QList<int>{3, 2, 1, 5} << u"Zoé Çà€Œ"_s << u"100:00:00"_s;
    QTest::newRow("full slots") << QList<int>{0, 8, 3, 0} << u"ABCDEFGHIJKLMNO"_s
                                << u"0123456789"_s;
    QTest::newRow("extremes") << QList<int>{32767, -32768, -1, 500} << u"  a  "_s << u" "_s;
}

void tst_storage::roundTrip() {
    QFETCH(QList<int>, numbers);
    QFETCH(QString, name);
    QFETCH(QString, duration);

    // A file whose reserved bytes, slots 0 and tail hold leftovers.
    QByteArray before(400, '\x5a');
    before[nameAt(0)] = 3;
    before[durationAt(0)] = 99;
    QVERIFY(writeAll(cfgPath(), before));
    load();

    SettingsRecord.marbleTexture = static_cast<std::int16_t>(numbers[0]);
    SettingsRecord.boardTexture = static_cast<std::int16_t>(numbers[1]);
    SettingsRecord.boardKind = static_cast<std::int16_t>(numbers[2]);
    for (int r = 1; r <= 10; ++r) {
        SettingsRecord.scores[r] = ScoreEntry{name + QString::number(r % 10).left(r == 1 ? 0 : 1),
                                              static_cast<std::int16_t>(numbers[3] + r - 1),
                                              r == 1 ? duration : u"%1"_s.arg(r)};
    }
    save();
    QVERIFY(reported().isEmpty());

    const QByteArray bytes = readAll(cfgPath());
    QCOMPARE(bytes.size(), before.size());
    QCOMPARE(bytes.left(43), QByteArray(43, '\0'));
    QCOMPARE(int16At(bytes, 43), numbers[0]);
    QCOMPARE(int16At(bytes, 45), numbers[1]);
    QCOMPARE(int16At(bytes, 47), numbers[2]);
    QCOMPARE(stringAt(bytes, 65), name);
    QCOMPARE(stringAt(bytes, 236), duration);
    QCOMPARE(int16At(bytes, 348), numbers[3]);
    QCOMPARE(int16At(bytes, 366), static_cast<std::int16_t>(numbers[3] + 9));
    QCOMPARE(stringAt(bytes, 209), (name + u'0').left(15));
    // Slots 0 and the tail exactly as they were.
    for (int at : {nameAt(0), durationAt(0), marblesAt(0)}) {
        const int width = at == nameAt(0) ? 16 : at == durationAt(0) ? 11 : 2;
        QCOMPARE(bytes.mid(at, width), before.mid(at, width));
    }
    QCOMPARE(bytes.mid(368), before.mid(368));

    const SettingsRecordData written = SettingsRecord;
    SettingsRecord = SettingsRecordData{};
    load();
    QCOMPARE(SettingsRecord.marbleTexture, written.marbleTexture);
    QCOMPARE(SettingsRecord.boardKind, written.boardKind);
    for (int r = 1; r <= 10; ++r) {
        const ScoreEntry &w = written.scores[r];
        QCOMPARE(rowText(SettingsRecord.scores[r]),
                 rowText({w.name.left(15), w.marblesLeft, w.duration.left(10)}));
    }
}

// Files of every awkward size and content: what the game then holds, and
// what the file has become.
void tst_storage::damagedFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("rank1"); // as the game then holds it
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("sizeAfter");

    QByteArray good(368, '\0');
    good[47] = 2;
    good[nameAt(1)] = 3;
    good.replace(nameAt(1) + 1, 3,
                 "L\xe9"
                 "a");
    good[durationAt(1)] = 2;
    good.replace(durationAt(1) + 1, 2, "9s");
    good[marblesAt(1)] = 7;
    const QString defaultRow = u"/44/"_s;

    QTest::newRow("empty") << QByteArray() << defaultRow << 1 << 368;
    QTest::newRow("one byte") << QByteArray(1, '\x7f') << defaultRow << 1 << 368;
    QTest::newRow("one byte short") << good.left(367) << defaultRow << 1 << 368;
    QTest::newRow("exact") << good << u"Léa/7/9s"_s << 2 << 368;
    QTest::newRow("long") << good + QByteArray(10000 - 368, '\x01') << u"Léa/7/9s"_s << 2 << 10000;

    QByteArray overlong = good;
    overlong[nameAt(1)] = char(255);
    overlong[durationAt(1)] = char(200);
    overlong.replace(nameAt(1) + 1, 15, "ABCDEFGHIJKLMNO");
    overlong.replace(durationAt(1) + 1, 10, "0123456789");
    QTest::newRow("lengths past their slots")
        << overlong << u"ABCDEFGHIJKLMNO/7/0123456789"_s << 2 << 368;

    QByteArray wild = good;
    wild[47] = char(0x80); // -32768 wherever the high byte says
    wild[48] = char(0x80);
    wild[marblesAt(1)] = char(0xff);
    wild[marblesAt(1) + 1] = char(0xff);
    QTest::newRow("any integer") << wild << u"Léa/-1/9s"_s << -32640 << 368;
}

void tst_storage::damagedFiles() {
    QFETCH(QByteArray, file);
    QFETCH(QString, rank1);
    QFETCH(int, kind);
    QFETCH(int, sizeAfter);

    QVERIFY(writeAll(cfgPath(), file));
    setDistinct();
    load();
    QVERIFY(reported().isEmpty());
    QCOMPARE(rowText(SettingsRecord.scores[1]), rank1);
    QCOMPARE(SettingsRecord.boardKind, kind);
    QCOMPARE(readAll(cfgPath()).size(), sizeAfter);
    // Written back, the file holds what memory holds, and keeps its tail.
    save();
    const QByteArray after = readAll(cfgPath());
    QCOMPARE(after.size(), sizeAfter);
    QCOMPARE(after.mid(368), file.mid(368));
    QCOMPARE(tableOnDisk().first(), rank1);
    QCOMPARE(int16At(after, 47), kind);
}

// The table before, the marbles in the tray, the name typed; the table after
// and whether the name was asked. Rows are "name/marbles/duration".
void tst_storage::insertScore_data() {
    QTest::addColumn<QList<int>>("marbles"); // ranks 1..10 before; empty: a fresh file
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rank"); // 0: does not enter

    using L = QList<int>;
    QTest::newRow("fresh file") << L{} << 1 << u"Ana"_s << 1;
    QTest::newRow("equal goes above") << L{1, 2, 5, 5, 6, 44, 44, 44, 44, 44} << 5 << u"Bo"_s << 3;
    QTest::newRow("rank 10 only") << L{1, 1, 1, 1, 1, 2, 2, 2, 2, 9} << 9 << u"Cy"_s << 10;
    QTest::newRow("rank 1 pushes all") << L{2, 2, 3, 3, 4, 4, 5, 5, 6, 6} << 1 << u"Di"_s << 1;
    QTest::newRow("beaten everywhere") << L{1, 1, 1, 1, 1, 2, 2, 2, 2, 3} << 4 << u"Ed"_s << 0;
    QTest::newRow("empty name") << L{} << 44 << QString() << 1;
    QTest::newRow("fifteen characters, blanks kept")
        << L{1, 44, 44, 44, 44, 44, 44, 44, 44, 44} << 2 << u" fifteen chars "_s << 2;
}

void tst_storage::insertScore() {
    QFETCH(QList<int>, marbles);
    QFETCH(int, result);
    QFETCH(QString, typed);
    QFETCH(int, rank);

    QStringList before;
    if (!marbles.isEmpty()) {
        QVERIFY(writeAll(cfgPath(), QByteArray(368, '\0')));
        for (int r = 1; r <= 10; ++r) {
            SettingsRecord.scores[r] =
                ScoreEntry{u"P%1"_s.arg(r), static_cast<std::int16_t>(marbles[r - 1]),
                           u"00:00:%1"_s.arg(r, 2, 10, QChar(u'0'))};
        }
        save();
        before = tableOnDisk();
        // Junk in the reserved bytes shows whether the file was rewritten.
        QByteArray bytes = readAll(cfgPath());
        bytes[0] = 'J';
        QVERIFY(writeAll(cfgPath(), bytes));
    } else {
        for (int r = 1; r <= 10; ++r) {
            before << u"/44/"_s;
        }
    }
    // Memory that differs from the disk: the insertion starts from the disk.
    SettingsRecord.scores[1].marblesLeft = -5;

    playerName = u"earlier"_s;
    int asked = 0;
    InsertScore(44 - result, u"01:02:03:04:05"_s, [&] {
        ++asked;
        playerName = typed;
    });
    QCOMPARE(asked, rank > 0 ? 1 : 0);
    QVERIFY(reported().isEmpty());
    QStringList expected = before;
    if (rank > 0) {
        expected.insert(rank - 1, u"%1/%2/01:02:03:0"_s.arg(typed).arg(result));
        expected.removeLast();
    }
    QCOMPARE(tableOnDisk(), expected);
    QCOMPARE(readAll(cfgPath()).at(0), '\0');
}

QTEST_GUILESS_MAIN(tst_storage)
#include "tst_storage.moc"
