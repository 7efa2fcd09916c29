// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file, as the game reads it at start-up and writes it back:
// whatever the file holds, the bracket succeeds, the names and chronos stay
// within their slots, and what is written is what memory holds and reads
// back as the same record.
#include <QCoreApplication>
#include <QStringList>

#include "FuzzTarget.h"
#include "RecordFile.h"
#include "Settings.h"

using namespace fuzztarget;

namespace {

QStringList reported;

void checkRecord() {
    for (int r = 1; r <= 10; ++r) {
        require(SettingsRecord.scores[r].name.size() <= kNameCapacity, "a name within its slot");
        require(SettingsRecord.scores[r].duration.size() <= kDurationCapacity,
                "a chrono within its slot");
    }
    const SettingsBytes written = encodeSettings();
    decodeSettings(written);
    require(encodeSettings() == written, "a record read back as it was written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir(scratchTemplate("fuzz_settings"));
    static const bool ready = [] {
        require(dir.isValid(), "a scratch folder");
        startDirectory = dir.path() + u'/';
        setIoFailureReporter([](const QString &text) { reported << text; });
        return true;
    }();
    (void)ready;

    // Each input starts from the defaults, as a game started afresh does.
    SetDefaultSettings();
    const QString path = startDirectory + QStringLiteral("VELTRANO.CFG");
    writeFile(path, data, size);
    OpenSettings();
    ReadSettings();
    WriteSettings();
    require(CloseSettings(), "the bracket succeeds on any ordinary file");
    require(reported.isEmpty(), "no failure told for an ordinary file");

    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the file still there");
    const QByteArray onDisk = file.read(kSettingsRecordSize);
    const SettingsBytes inMemory = encodeSettings();
    require(onDisk == QByteArray(reinterpret_cast<const char *>(inMemory.data()),
                                 static_cast<qsizetype>(inMemory.size())),
            "the record written is the one memory holds");
    checkRecord();

    // Straight into the decoder as well, where a whole record lands.
    if (size >= kSettingsRecordSize) {
        SettingsBytes bytes;
        std::copy_n(data, kSettingsRecordSize, bytes.begin());
        decodeSettings(bytes);
        checkRecord();
    }
    return 0;
}
