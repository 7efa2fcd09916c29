// SPDX-License-Identifier: GPL-3.0-or-later
#include "Settings.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "FolderFile.h"
#include "RecordFile.h"

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
std::optional<storage::FolderLock> folderLock;

std::int16_t int16At(const SettingsBytes &bytes, std::size_t at) {
    return storage::readInt16(bytes.data() + at);
}

void putInt16(SettingsBytes &bytes, std::size_t at, std::int16_t value) {
    storage::writeInt16(bytes.data() + at, value);
}

QString stringAt(const SettingsBytes &bytes, std::size_t at, int capacity) {
    const int length = std::min<int>(bytes[at], capacity);
    return storage::decodeText(
        QByteArrayView(reinterpret_cast<const char *>(bytes.data() + at + 1), length));
}

void putString(SettingsBytes &bytes, std::size_t at, int capacity, const QString &text) {
    const QByteArray encoded = storage::encodeText(text.left(capacity));
    const int length = std::min<int>(static_cast<int>(encoded.size()), capacity);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), capacity + 1, 0);
    bytes[at] = static_cast<unsigned char>(length);
    std::copy_n(encoded.constData(), length, bytes.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

// A failure is shown to the player and spoils the whole bracket.
bool succeededOrReported(const IoStatus &status) {
    if (reportIfFailed(status)) {
        bracketOk = false;
        return false;
    }
    return true;
}

// What memory held when it last agreed with the file: a field that differs
// from it has been changed by a command since, and only such a field goes
// over what the file holds now.
SettingsRecordData agreed;

// A write that finds the file changed since it was read reads it again and
// merges once more; another copy writing without pause can't hold this one
// up for ever.
constexpr int kAttempts = 8;

// The record as the file holds it now. Answers false, the failure told, when
// it can't be read; `whole` says whether it holds a whole record.
bool readNow(SettingsBytes &bytes, bool &whole, storage::SeenFile &seen) {
    whole = false;
    if (!file.isOpen()) {
        seen = storage::SeenFile{}; // absent
        return true;
    }
    const IoStatus read = file.readRecord(reinterpret_cast<char *>(bytes.data()), seen);
    whole = read.ok();
    return whole || read.failure == IoFailure::ReadPastEnd || succeededOrReported(read);
}

// Puts the record in place of the file as it was seen, unless the file is
// there and this copy may only read it.
IoStatus land(const SettingsBytes &bytes, const storage::SeenFile &seen) {
    if (file.isOpen() && !file.writable()) {
        return IoStatus::fromErrno(EACCES);
    }
    return replaceRecordFile(kSettingsFile, reinterpret_cast<const char *>(bytes.data()),
                             bytes.size(), seen);
}

bool stale(const IoStatus &status) {
    return status.failure == IoFailure::Other && status.code == ESTALE;
}

// The file as it stands after another copy changed it.
bool reopen() {
    file.close();
    const IoStatus opened = file.openExisting(kSettingsFile);
    return opened.failure == IoFailure::FileNotFound || succeededOrReported(opened);
}

// Reads the file as it stands, lets `prepare` make memory's record from it
// (false: nothing to write), and lands that record only over the file as it
// was read; when another copy wrote in between, `undo` puts memory back and
// it all starts again from what that copy wrote. Says whether it landed.
template <typename Prepare, typename Undo> bool landOverFileAsRead(Prepare prepare, Undo undo) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        SettingsBytes now{};
        bool whole = false;
        storage::SeenFile seen;
        if (!readNow(now, whole, seen) || !prepare(now, whole)) {
            return false;
        }
        const SettingsBytes bytes = encodeSettings();
        const IoStatus landed = land(bytes, seen);
        if (landed.ok()) {
            lastRead = bytes;
            return true;
        }
        undo();
        if (!stale(landed)) {
            succeededOrReported(landed);
            return false;
        }
        if (!reopen()) {
            return false;
        }
    }
    succeededOrReported(IoStatus::fromErrno(ESTALE));
    return false;
}

// An absent file, or one too short to hold the record, is given the record
// memory holds: the defaults at the first start, the game's own settings
// and table afterwards. Nothing of the old file was a record, so nothing is
// lost.
void writeMemory() {
    const auto prepare = [](const SettingsBytes &now, bool whole) {
        if (whole) {
            decodeSettings(now); // another copy wrote a record meanwhile
        }
        return !whole;
    };
    if (landOverFileAsRead(prepare, [] {})) {
        agreed = SettingsRecord;
        succeededOrReported(file.openExisting(kSettingsFile));
    }
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
    agreed = SettingsRecord;
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
    if (!succeededOrReported(ensureStartDirectory())) {
        return;
    }
    folderLock.emplace();
    if (folderLock->error() != 0 &&
        !succeededOrReported(IoStatus::fromErrno(folderLock->error()))) {
        return;
    }
    const IoStatus opened = file.openExisting(kSettingsFile);
    // Absent: a new file with what memory holds. Anything else in its place
    // is refused and left alone.
    if (opened.failure == IoFailure::FileNotFound) {
        writeMemory();
    } else {
        succeededOrReported(opened);
    }
}

void ReadSettings() {
    // Unless the file can be read, memory stands as it is, and a field a
    // later command leaves alone comes from the file then.
    agreed = SettingsRecord;
    if (!file.isOpen() || !bracketOk) {
        return;
    }
    // An unreadable file has been reported and stays as it is; only a file
    // too short to hold the record is given memory's.
    SettingsBytes bytes;
    bool whole = false;
    storage::SeenFile seen;
    if (!readNow(bytes, whole, seen)) {
        return;
    }
    if (whole) {
        decodeSettings(bytes);
    } else {
        writeMemory();
    }
}

bool SettingsWritable() {
    if (bracketOk && file.isOpen() && !file.writable()) {
        succeededOrReported(IoStatus::fromErrno(EACCES));
    }
    return bracketOk;
}

void WriteSettings() {
    WriteSettingsWith(nullptr);
}

// Another copy of the game may have written since this one read: the record
// is read again and only what this copy changed goes over it. The write
// lands only on the file as it was read here; if another copy wrote in
// between, the merge starts again from what it wrote.
void WriteSettingsWith(const ScoreEntry *row) {
    if (!bracketOk) {
        return;
    }
    const SettingsRecordData mine = SettingsRecord;
    const SettingsRecordData before = agreed;
    const auto merge = [&](const SettingsBytes &now, bool whole) {
        // A file that holds no record has nothing to merge: memory is the
        // one copy of the settings and the table.
        if (whole) {
            decodeSettings(now);
        }
        auto keep = [](std::int16_t &field, std::int16_t changed, std::int16_t was) {
            if (changed != was) {
                field = changed;
            }
        };
        keep(SettingsRecord.marbleTexture, mine.marbleTexture, before.marbleTexture);
        keep(SettingsRecord.boardTexture, mine.boardTexture, before.boardTexture);
        keep(SettingsRecord.boardKind, mine.boardKind, before.boardKind);
        if (row != nullptr) {
            auto &rows = SettingsRecord.scores;
            const int rank = rankFor(rows, row->marblesLeft);
            if (rank <= kRanks) {
                std::move_backward(rows.begin() + rank, rows.end() - 1, rows.end());
                rows[rank] = *row;
            }
        }
        return true;
    };
    const auto undo = [&] {
        SettingsRecord = mine;
        agreed = before;
    };
    if (landOverFileAsRead(merge, undo)) {
        // The window goes on showing this copy's own looks, whatever the
        // other copy chose; they are what its next change starts from.
        SettingsRecord.marbleTexture = mine.marbleTexture;
        SettingsRecord.boardTexture = mine.boardTexture;
        agreed = SettingsRecord;
    }
}

int ScoreRank(int marblesLeft) {
    return rankFor(SettingsRecord.scores, marblesLeft);
}

bool CloseSettings() {
    const bool wasOpen = file.isOpen();
    if (wasOpen) {
        succeededOrReported(file.close());
    }
    folderLock.reset();
    // Without its folder the game plays on from memory, the player told once.
    return (wasOpen && bracketOk) || playingWithoutFiles();
}
