#include "Settings.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#include "RecordFile.h"
#include "Shared.h"

using namespace Qt::StringLiterals;

SettingsRecordData SettingsRecord;

namespace {
// Byte layout: 16-bit little-endian integers at odd offsets, strings as a
// length byte followed by their characters in a slot of fixed capacity.
constexpr std::size_t kReservedSize = 43;
constexpr std::size_t kMarbleTextureAt = 43;
constexpr std::size_t kBoardTextureAt = 45;
constexpr std::size_t kBoardKindAt = 47;
constexpr std::size_t kNamesAt = 49;      // + 16 * rank
constexpr std::size_t kDurationsAt = 225; // + 11 * rank
constexpr std::size_t kMarblesAt = 346;   // + 2 * rank
constexpr int kRanks = 10;

constexpr std::size_t nameAt(int rank) {
    return kNamesAt + (kNameCapacity + 1) * static_cast<std::size_t>(rank);
}
constexpr std::size_t durationAt(int rank) {
    return kDurationsAt + (kDurationCapacity + 1) * static_cast<std::size_t>(rank);
}
constexpr std::size_t marblesAt(int rank) {
    return kMarblesAt + 2 * static_cast<std::size_t>(rank);
}
static_assert(marblesAt(kRanks) + 2 == kSettingsRecordSize);
static_assert(durationAt(kRanks) + kDurationCapacity + 1 == kMarblesAt);
static_assert(nameAt(kRanks) + kNameCapacity + 1 == kDurationsAt);

// The record as last read: the slots 0, which the game never uses, go back
// to the file exactly as they came.
SettingsBytes lastRead{};

RecordFile file(kSettingsRecordSize);
bool bracketOk = true;

std::int16_t int16At(const SettingsBytes &bytes, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
}

void putInt16(SettingsBytes &bytes, std::size_t at, std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    bytes[at] = static_cast<unsigned char>(bits & 0xff);
    bytes[at + 1] = static_cast<unsigned char>(bits >> 8);
}

QString stringAt(const SettingsBytes &bytes, std::size_t at, int capacity) {
    const int length = std::min<int>(bytes[at], capacity);
    const QByteArrayView text(reinterpret_cast<const char *>(bytes.data() + at + 1), length);
    // Plain ASCII reads the same in every code; most names are, and then the
    // converter, which maps a megabyte of tables, is never opened.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        return QString::fromLatin1(text);
    }
    // One converter for the whole run: opening one costs more than the
    // conversion, and a single-byte code keeps no state between calls.
    static QStringDecoder decoder("windows-1252");
    return decoder.decode(text);
}

void putString(SettingsBytes &bytes, std::size_t at, int capacity, const QString &text) {
    static QStringEncoder encoder("windows-1252");
    const QByteArray encoded = encoder.encode(text.left(capacity));
    const int length = std::min<int>(static_cast<int>(encoded.size()), capacity);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), capacity + 1, 0);
    bytes[at] = static_cast<unsigned char>(length);
    std::copy_n(encoded.constData(), length, bytes.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

bool check(const IoStatus &status) {
    if (!status.ok()) {
        bracketOk = false;
        reportIoFailure(status);
    }
    return status.ok();
}

// Writes the record in memory at the start of the open file.
bool writeRecord() {
    const SettingsBytes bytes = encodeSettings();
    return check(file.seekRecord(0)) &&
           check(file.writeRecord(reinterpret_cast<const char *>(bytes.data())));
}
} // namespace

void decodeSettings(const SettingsBytes &bytes) {
    lastRead = bytes;
    SettingsRecord.marbleTexture = int16At(bytes, kMarbleTextureAt);
    SettingsRecord.boardTexture = int16At(bytes, kBoardTextureAt);
    SettingsRecord.boardKind = int16At(bytes, kBoardKindAt);
    for (int rank = 1; rank <= kRanks; ++rank) {
        ScoreEntry &row = SettingsRecord.scores[rank];
        row.name = stringAt(bytes, nameAt(rank), kNameCapacity);
        row.duration = stringAt(bytes, durationAt(rank), kDurationCapacity);
        row.marblesLeft = int16At(bytes, marblesAt(rank));
    }
}

SettingsBytes encodeSettings() {
    SettingsBytes bytes = lastRead;
    std::fill_n(bytes.begin(), kReservedSize, 0);
    putInt16(bytes, kMarbleTextureAt, SettingsRecord.marbleTexture);
    putInt16(bytes, kBoardTextureAt, SettingsRecord.boardTexture);
    putInt16(bytes, kBoardKindAt, SettingsRecord.boardKind);
    for (int rank = 1; rank <= kRanks; ++rank) {
        const ScoreEntry &row = SettingsRecord.scores[rank];
        putString(bytes, nameAt(rank), kNameCapacity, row.name);
        putString(bytes, durationAt(rank), kDurationCapacity, row.duration);
        putInt16(bytes, marblesAt(rank), row.marblesLeft);
    }
    return bytes;
}

void SetDefaultSettings() {
    SettingsRecord.marbleTexture = 1;
    SettingsRecord.boardTexture = 1;
    SettingsRecord.boardKind = 1;
    for (int rank = 1; rank <= kRanks; ++rank) {
        SettingsRecord.scores[rank] = ScoreEntry{};
    }
}

void OpenSettings() {
    bracketOk = true;
    const QString path = startDirectory + u"VELTRANO.CFG"_s;
    if (file.openExisting(path).ok()) {
        return;
    }
    // Absent or unusable as it is: start again from a new file with the
    // defaults. Only a failure to create it is the player's business.
    if (!check(file.create(path))) {
        return;
    }
    SetDefaultSettings();
    writeRecord();
}

void ReadSettings() {
    if (!file.isOpen() || !bracketOk) {
        return;
    }
    SettingsBytes bytes;
    if (file.seekRecord(0).ok() && file.readRecord(reinterpret_cast<char *>(bytes.data())).ok()) {
        decodeSettings(bytes);
        return;
    }
    // Too short to hold the record, or unreadable: the file starts again
    // with the defaults; what it held is lost.
    if (!check(file.truncate())) {
        return;
    }
    SetDefaultSettings();
    writeRecord();
}

void WriteSettings() {
    if (!file.isOpen() || !bracketOk) {
        return;
    }
    writeRecord();
}

bool CloseSettings() {
    const bool wasOpen = file.isOpen();
    if (wasOpen) {
        check(file.close());
    }
    return wasOpen && bracketOk;
}
