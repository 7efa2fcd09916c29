#include "Settings.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "FolderFile.h"
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

constexpr char kSettingsFile[] = "VELTRANO.CFG";
RecordFile file(kSettingsRecordSize);
bool bracketOk = true;
// Another copy of the game in the same folder waits for this bracket to end.
std::optional<folderfile::Turn> turn;

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

// Puts the record in place of the file, unless the file is there and this
// copy may only read it.
IoStatus replaceWith(const SettingsBytes &bytes) {
    if (file.isOpen() && !file.writable()) {
        return IoStatus::fromErrno(EACCES);
    }
    file.close();
    return replaceRecordFile(kSettingsFile, reinterpret_cast<const char *>(bytes.data()),
                             bytes.size());
}

// Creates the file, or replaces one too short to hold the record, with the
// defaults; nothing of the old file was a record, so nothing is lost.
// Memory takes the defaults only once they are on the disk.
bool startAfresh() {
    const SettingsRecordData before = SettingsRecord;
    const SettingsBytes beforeRead = lastRead;
    SetDefaultSettings();
    lastRead = SettingsBytes{};
    const SettingsBytes bytes = encodeSettings();
    if (!check(replaceWith(bytes))) {
        SettingsRecord = before;
        lastRead = beforeRead;
        return false;
    }
    lastRead = bytes;
    return check(file.openExisting(kSettingsFile));
}

// The record as the file holds it now; false when it holds none.
bool readNow(SettingsBytes &bytes, bool &whole) {
    const IoStatus read = file.readRecord(reinterpret_cast<char *>(bytes.data()));
    whole = read.ok();
    return whole || read.failure == IoFailure::ReadPastEnd || check(read);
}

int rankFor(const std::array<ScoreEntry, 11> &rows, int marblesLeft) {
    int rank = 1;
    while (rank <= kRanks && rows[rank].marblesLeft < marblesLeft) {
        ++rank;
    }
    return rank;
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
    file.close();
    bracketOk = true;
    if (!check(reachStartDirectory())) {
        return;
    }
    turn.emplace();
    const IoStatus opened = file.openExisting(kSettingsFile);
    // Absent: a new file with the defaults. Anything else in its place is
    // refused and left alone.
    if (opened.failure == IoFailure::FileNotFound) {
        startAfresh();
    } else {
        check(opened);
    }
}

void ReadSettings() {
    if (!file.isOpen() || !bracketOk) {
        return;
    }
    // An unreadable file has been reported and stays as it is; only a file
    // too short to hold the record starts again with the defaults.
    SettingsBytes bytes;
    bool whole = false;
    if (!readNow(bytes, whole)) {
        return;
    }
    if (whole) {
        decodeSettings(bytes);
    } else {
        startAfresh();
    }
}

void WriteSettings() {
    WriteSettingsWith(nullptr);
}

// Another copy of the game may have written since this one read: the record
// is read again and only what this copy changed goes over it.
void WriteSettingsWith(const ScoreEntry *row) {
    if (!file.isOpen() || !bracketOk) {
        return;
    }
    SettingsBytes now{};
    bool whole = false;
    if (!readNow(now, whole)) {
        return;
    }
    const SettingsRecordData mine = SettingsRecord;
    const SettingsBytes base = lastRead;
    decodeSettings(whole ? now : SettingsBytes{});
    if (!whole) {
        SetDefaultSettings();
    }
    auto keep = [&](std::int16_t &field, std::int16_t changed, std::size_t at) {
        if (changed != int16At(base, at)) {
            field = changed;
        }
    };
    keep(SettingsRecord.marbleTexture, mine.marbleTexture, kMarbleTextureAt);
    keep(SettingsRecord.boardTexture, mine.boardTexture, kBoardTextureAt);
    keep(SettingsRecord.boardKind, mine.boardKind, kBoardKindAt);
    if (row != nullptr) {
        auto &rows = SettingsRecord.scores;
        const int rank = rankFor(rows, row->marblesLeft);
        if (rank <= kRanks) {
            std::move_backward(rows.begin() + rank, rows.end() - 1, rows.end());
            rows[rank] = *row;
        }
    }
    const SettingsBytes bytes = encodeSettings();
    const char *record = reinterpret_cast<const char *>(bytes.data());
    // A whole record is overwritten where it stands, which keeps anything
    // past it; a short file is replaced whole.
    const bool written = check(whole ? file.writeRecord(record) : replaceWith(bytes));
    // The window goes on showing this copy's own looks, whatever the other
    // copy chose; they are what its next change starts from.
    SettingsRecord.marbleTexture = mine.marbleTexture;
    SettingsRecord.boardTexture = mine.boardTexture;
    if (written) {
        lastRead = encodeSettings();
    }
}

int ScoreRank(int marblesLeft) {
    return rankFor(SettingsRecord.scores, marblesLeft);
}

bool CloseSettings() {
    const bool wasOpen = file.isOpen();
    if (wasOpen) {
        check(file.close());
    }
    turn.reset();
    return wasOpen && bracketOk;
}
