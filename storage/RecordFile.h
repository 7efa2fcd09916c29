// SPDX-License-Identifier: GPL-3.0-or-later
// One file that holds exactly one fixed-size record of raw bytes: the settings
// and the saved game are both kept this way. Every call says whether it
// failed and why, so that each command can stop and tell the player in French.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "FolderFile.h"

class QWidget;

// The causes the player is told apart; anything else carries its system
// error number so that the message still says something precise.
enum class IoFailure {
    None,
    FileNotFound,
    InvalidName,
    TooManyOpenFiles,
    AccessDenied,
    ReadPastEnd,
    DiskFull,
    Other,
};

struct IoStatus {
    IoFailure failure = IoFailure::None;
    int code = 0;      // the system's error number, for IoFailure::Other
    bool told = false; // the player has been told already, and isn't again

    bool ok() const { return failure == IoFailure::None; }
    static IoStatus fromErrno(int error);
};

// "Fichier introuvable", "Disque plein", "Erreur E/S 5" ...
QString ioFailureText(const IoStatus &status);

// Shows the failure in a modal error box on top of the game. Tests replace
// the box with a recorder; nullptr brings the box back.
void reportIoFailure(const IoStatus &status);
using IoFailureReporter = void (*)(const QString &text);
void setIoFailureReporter(IoFailureReporter reporter);
// The same box, or the same recorder, for a file that was read whole but
// cannot be used.
void reportFileFailure(const QString &text);

// Shows a failure as reportIoFailure() does, and says whether there was one.
bool reportIfFailed(const IoStatus &status);

// The fields both records are made of: signed 16-bit numbers, low byte
// first, and texts in Windows-1252.
namespace storage {
std::int16_t readInt16(const void *at);
void writeInt16(void *at, int value);
QString decodeText(QByteArrayView bytes);
QByteArray encodeText(const QString &text);
} // namespace storage

// The working directory at start-up with "/" appended; the prefix of every
// file name the game opens. It is deliberately not the executable's directory.
extern QString startDirectory;

// The folder the data files live in, held once at start-up: the current
// directory itself, whatever its name or depth. A startDirectory set by name
// afterwards is reached by that name at the next access. When the folder
// can't be held, the game says so once and goes on without its files: its
// name may lead somewhere else.
void takeStartDirectory();
IoStatus ensureStartDirectory();
// The folder could not be held: the game plays on from what it holds.
bool playingWithoutFiles();

// Puts a whole record at the start of the named file of the start folder,
// creating it, or replacing it with what stood past the record and its
// mode: the file is the old one or the new one, whatever fails or stops the
// game on the way. A file that is no longer as `seen` is left alone, and
// the answer is a failure with code ESTALE.
IoStatus replaceRecordFile(const char *name, const char *record, std::size_t size,
                           const storage::SeenFile &seen);

// One of the start folder's record files, opened only when it is a regular
// file of the folder itself: a link, a FIFO or a device in its place is
// refused with "Accès au fichier refusé", and what it names is never touched.
class RecordFile {
public:
    explicit RecordFile(std::size_t recordSize) : recordSize_(recordSize) {}
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens an existing file for reading and writing, or for reading only
    // when that is all the file allows.
    IoStatus openExisting(const char *name);
    // Reads the record at the start of the file; a file that ends before the
    // record does is a read past its end. `seen` then says what was read, for
    // a write that must land on that same file.
    IoStatus readRecord(char *record, storage::SeenFile &seen);
    IoStatus close();

    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return writable_; }
    std::size_t recordSize() const { return recordSize_; }

private:
    std::size_t recordSize_;
    int fd_ = -1;
    bool writable_ = false;
};
