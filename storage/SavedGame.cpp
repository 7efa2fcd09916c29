// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedGame.h"

#include <QList>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "Player.h"
#include "RecordFile.h"
#include "position.h"

using namespace Qt::StringLiterals;

SavedGameBytes SavedGameRecord{};

namespace {

constexpr char kGameFile[] = "GAME";
RecordFile gameFile(kSavedGameSize);

int readInt16(const SavedGameBytes &record, int offset) {
    return storage::readInt16(record.data() + offset);
}

void writeInt16(SavedGameBytes &record, int offset, int value) {
    storage::writeInt16(record.data() + offset, value);
}

// The text of a field up to its zero byte, never more than `longest`
// characters, so that a field with no zero still reads as a sound text.
QString readText(const SavedGameBytes &record, int offset, int size, int longest) {
    const char *begin = record.data() + offset;
    const void *zero = std::memchr(begin, 0, static_cast<std::size_t>(size));
    int length = zero ? static_cast<int>(static_cast<const char *>(zero) - begin) : size;
    if (length > longest) {
        length = longest;
    }
    return storage::decodeText(QByteArrayView(begin, length));
}

void writeText(SavedGameBytes &record, int offset, int size, const QString &text) {
    const QByteArray bytes = storage::encodeText(text);
    const int length = qMin(static_cast<int>(bytes.size()), size - 1);
    std::memset(record.data() + offset, 0, static_cast<std::size_t>(size));
    std::memcpy(record.data() + offset, bytes.constData(), static_cast<std::size_t>(length));
}

bool allDigits(QStringView part) {
    if (part.isEmpty() || part.size() > 9) {
        return false;
    }
    for (const QChar c : part) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QString damaged() {
    return u"La partie sauvegardée est endommagée"_s;
}

} // namespace

SavedGameFile OpenSavedGame() {
    using namespace storage;
    if (reportIfFailed(ensureStartDirectory())) {
        return SavedGameFile::Failed;
    }
    const IoStatus opened = gameFile.openExisting(kGameFile);
    if (opened.ok()) {
        if (!ReadSavedGame()) {
            gameFile.close();
            return SavedGameFile::Failed;
        }
    } else {
        // Absent: created whole, marked as holding no game, or not at all.
        // Anything else in its place is refused and left alone.
        if (opened.failure != IoFailure::FileNotFound) {
            reportIoFailure(opened);
            return SavedGameFile::Failed;
        }
        SavedGameBytes empty{};
        writeInt16(empty, kGameCountOffset, kNoGameCount);
        const IoStatus created =
            replaceRecordFile(kGameFile, empty.data(), empty.size(), storage::SeenFile{});
        // Another copy may have made it first: its file is the one read.
        const bool madeMeanwhile = created.failure == IoFailure::Other && created.code == ESTALE;
        if ((!madeMeanwhile && reportIfFailed(created)) ||
            reportIfFailed(gameFile.openExisting(kGameFile))) {
            return SavedGameFile::Failed;
        }
        if (!madeMeanwhile) {
            SavedGameRecord = empty;
        } else if (!ReadSavedGame()) {
            gameFile.close();
            return SavedGameFile::Failed;
        }
    }
    return readInt16(SavedGameRecord, kGameCountOffset) == kNoGameCount ? SavedGameFile::NoGame
                                                                        : SavedGameFile::HoldsGame;
}

bool ReadSavedGame() {
    // Read aside first: a short file leaves the copy in memory as it was.
    SavedGameBytes record;
    storage::SeenFile seen;
    if (reportIfFailed(gameFile.readRecord(record.data(), seen))) {
        return false;
    }
    SavedGameRecord = record;
    return true;
}

// The save replaces whatever game the file holds, even one another copy of
// the game saved meanwhile; what stands past the record stays.
bool WriteSavedGame() {
    if (!gameFile.isOpen() || !gameFile.writable()) {
        return !reportIfFailed(IoStatus::fromErrno(gameFile.isOpen() ? EACCES : EBADF));
    }
    storage::SeenFile whatever;
    whatever.anyFile = true;
    return !reportIfFailed(
        replaceRecordFile(kGameFile, SavedGameRecord.data(), SavedGameRecord.size(), whatever));
}

bool CloseSavedGame() {
    return !reportIfFailed(gameFile.close());
}

void fillSavedGameRecord(const QString &name, const QString &chrono, int nb_repos,
                         const veltrano::Grille &grille) {
    using namespace storage;
    writeText(SavedGameRecord, kGameNameOffset, kGameNameSize, name.left(kPlayerNameLength));
    writeText(SavedGameRecord, kGameChronoOffset, kGameChronoSize, chrono);
    writeInt16(SavedGameRecord, kGameCountOffset, nb_repos);
    for (int c = 1; c <= veltrano::kGridSize; ++c) {
        for (int l = 1; l <= veltrano::kGridSize; ++l) {
            for (int d = 1; d <= veltrano::kDirectionCount; ++d) {
                writeInt16(SavedGameRecord, gameGridOffset(c, l, d), grille.get(c, l, d));
            }
        }
    }
}

namespace {

// Whether characters 1-2, 4-5 and 7-8 of the caption, the places of the
// chrono's three counters, all hold a number, whatever lies between them.
// Otherwise `bad` receives the two characters of the first place that
// does not.
bool countersInPlace(const QString &caption, QString &bad) {
    for (const qsizetype start : {0, 3, 6}) {
        const QString counter = caption.mid(start, 2);
        if (!allDigits(counter)) {
            bad = counter;
            return false;
        }
    }
    return true;
}

} // namespace

bool parseChrono(const QString &caption, int &heures, int &minutes, int &secondes, QString &bad) {
    if (countersInPlace(caption, bad)) {
        heures = caption.mid(0, 2).toInt();
        minutes = caption.mid(3, 2).toInt();
        secondes = caption.mid(6, 2).toInt();
        return true;
    }
    // From 100 hours on the game writes a longer caption, "100:00:00", whose
    // counters no longer sit at their places; it is read by its colons.
    const QList<QStringView> parts = QStringView(caption).split(u':');
    bool numbers = parts.size() == 3;
    for (const QStringView part : parts) {
        numbers = numbers && allDigits(part);
    }
    if (!numbers) {
        return false;
    }
    bad.clear();
    heures = parts[0].toInt();
    minutes = parts[1].toInt();
    secondes = parts[2].toInt();
    return true;
}

QString decodeSavedGame(const SavedGameBytes &record, SavedGame &game) {
    using namespace storage;
    SavedGame read;
    read.nb_repos = readInt16(record, kGameCountOffset);
    for (int c = 1; c <= veltrano::kGridSize; ++c) {
        for (int l = 1; l <= veltrano::kGridSize; ++l) {
            for (int d = 1; d <= veltrano::kDirectionCount; ++d) {
                read.grille.set(c, l, d, readInt16(record, gameGridOffset(c, l, d)));
            }
        }
    }
    if (veltrano::check_position(read.grille, read.nb_repos) != veltrano::PositionFault::none) {
        return damaged();
    }
    read.chrono = readText(record, kGameChronoOffset, kGameChronoSize, kGameChronoSize - 1);
    QString bad;
    if (!parseChrono(read.chrono, read.heures, read.minutes, read.secondes, bad)) {
        return u"'%1' n'est pas une valeur entière correcte"_s.arg(bad);
    }
    // The chrono only carries into the next minute at exactly 60; beyond
    // that it would count on for ever without carrying.
    if (read.minutes > 59 || read.secondes > 59) {
        return damaged();
    }
    read.name = readText(record, kGameNameOffset, kGameNameSize, kPlayerNameLength);
    game = read;
    return {};
}
