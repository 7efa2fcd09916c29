// Random and mutated settings files through the game's reader and writer
// under the address and undefined-behaviour sanitizers: short and long
// files, every length byte of every slot, any integer.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <random>

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
    // In memory where there is such a place: the disk would only test itself.
    const bool shm = QFileInfo(u"/dev/shm"_s).isWritable();
    QTemporaryDir dir(shm ? u"/dev/shm/fuzz_settings-XXXXXX"_s : QString());
    QVERIFY(dir.isValid());
    startDirectory = dir.path() + u'/';
    const QString path = startDirectory + u"VELTRANO.CFG"_s;
    recordFailures();

    // VELTRANO_FUZZ_SEED and VELTRANO_FUZZ_INPUTS make a longer run without an edit.
    std::mt19937 random(qEnvironmentVariable("VELTRANO_FUZZ_SEED", u"20261207"_s).toUInt());
    const int inputs = qEnvironmentVariable("VELTRANO_FUZZ_INPUTS", u"100000"_s).toInt();
    auto byte = [&] { return static_cast<char>(random()); };
    QByteArray full(368, '\0');
    for (int r = 1; r <= 10; ++r) {
        full[nameAt(r)] = 15;
        full[durationAt(r)] = 10;
    }
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < inputs; ++i) {
        QByteArray file = full;
        switch (i % 4) {
        case 0: // noise, now and then of any length
            file.resize(i % 16 ? 368 : static_cast<int>(random() % 800));
            std::generate(file.begin(), file.end(), byte);
            break;
        case 1: // a few bytes changed
            for (int k = 0; k < 4; ++k) {
                file[static_cast<int>(random() % 368)] = byte();
            }
            break;
        case 2: // each length byte of each slot, with each value in turn
        {
            const int slot = (i / 4) % 22;
            file[slot < 11 ? nameAt(slot) : durationAt(slot - 11)] = static_cast<char>(i / 88);
            break;
        }
        default: // what the game last wrote, cut short or drawn out
            file = readAll(path);
            file.resize(static_cast<int>(random() % 740), byte());
        }
        // Half of them straight into the decoder, where the damage lands,
        // so that more records fit in the time.
        if (i % 2 && file.size() >= 368) {
            SettingsBytes bytes;
            std::copy_n(file.constData(), 368, reinterpret_cast<char *>(bytes.data()));
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
    qInfo("%d records in %lld ms", inputs, clock.elapsed());
}

QTEST_GUILESS_MAIN(fuzz_settings)
#include "fuzz_settings.moc"
