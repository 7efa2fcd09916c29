// Random and mutated settings files through the game's own reader and
// writer, under the address and undefined-behaviour sanitizers: short and
// long files, every length byte, any integer. Nothing may crash, read past a
// slot, or leave memory holding more than a slot can.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "RecordFile.h"
#include "Settings.h"
#include "Shared.h"
#include "StorageTest.h"

using namespace Qt::StringLiterals;
using namespace storagetest;

class fuzz_settings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void records();
};

void fuzz_settings::records() {
    // Memory-backed where there is such a place: the disk would make this
    // a test of its own speed.
    const bool shm = QFileInfo(u"/dev/shm"_s).isWritable();
    QTemporaryDir dir(shm ? u"/dev/shm/fuzz_settings-XXXXXX"_s : QString());
    QVERIFY(dir.isValid());
    startDirectory = dir.path() + u'/';
    const QString path = startDirectory + u"VELTRANO.CFG"_s;
    recordFailures();

    std::mt19937 random(20261207);
    auto byte = [&] { return static_cast<char>(random() & 0xff); };
    QByteArray seed(368, '\0');
    for (int r = 1; r <= 10; ++r) {
        seed[nameAt(r)] = 15;
        seed[durationAt(r)] = 10;
    }

    constexpr int kRecords = 100000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRecords; ++i) {
        QByteArray file;
        switch (i % 4) {
        case 0: // random bytes, mostly a whole record, sometimes more or less
        {
            const int size = (i % 16 == 0) ? static_cast<int>(random() % 800) : 368;
            file.resize(size);
            for (char &c : file) {
                c = byte();
            }
            break;
        }
        case 1: // the seed with a few bytes changed
            file = seed;
            for (int k = 0; k < 4; ++k) {
                file[static_cast<int>(random() % 368)] = byte();
            }
            break;
        case 2: // every length byte of every slot, in turn
        {
            file = seed;
            const int slot = (i / 4) % 22;
            const int at = slot < 11 ? nameAt(slot) : durationAt(slot - 11);
            file[at] = static_cast<char>((i / 88) & 0xff);
            break;
        }
        default: // the last file the game wrote, cut or extended
            file = readAll(path);
            file.resize(static_cast<int>(random() % 740), byte());
            break;
        }
        // Half through the file, half straight into the decoder, which is
        // where the damage lands, so that more records fit in the time.
        if (i % 2 == 1 && file.size() >= 368) {
            SettingsBytes bytes;
            std::copy_n(file.constData(), bytes.size(), reinterpret_cast<char *>(bytes.data()));
            decodeSettings(bytes);
        } else {
            QVERIFY(writeAll(path, file));
            OpenSettings();
            ReadSettings();
            WriteSettings();
            QVERIFY(CloseSettings());
        }
        for (int r = 1; r <= 10; ++r) {
            QVERIFY(SettingsRecord.scores[r].name.size() <= 15);
            QVERIFY(SettingsRecord.scores[r].duration.size() <= 10);
        }
    }
    QVERIFY(reported().isEmpty());
    qInfo("%d records in %lld ms", kRecords, clock.elapsed());
    // Written back, a record decodes to what it was.
    const SettingsBytes again = encodeSettings();
    decodeSettings(again);
    QVERIFY(encodeSettings() == again);
}

QTEST_GUILESS_MAIN(fuzz_settings)
#include "fuzz_settings.moc"
