// One file that holds exactly one fixed-size record of raw bytes: the settings
// and the saved game are both kept this way. Every call says whether it
// failed and why, so that each command can stop and tell the player in French.
#pragma once

#include <QString>
#include <cstddef>

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
    int code = 0; // the system's error number, for IoFailure::Other

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

class RecordFile {
public:
    explicit RecordFile(std::size_t recordSize) : recordSize_(recordSize) {}
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens an existing file for reading and writing.
    IoStatus openExisting(const QString &path);
    // Creates the file, or empties an existing one, for reading and writing.
    IoStatus create(const QString &path);
    // Empties the open file.
    IoStatus truncate();
    IoStatus seekRecord(long long index);
    // Reads one whole record at the current position; a file that ends
    // before the record does is a read past its end.
    IoStatus readRecord(char *record);
    IoStatus writeRecord(const char *record);
    IoStatus close();

    bool isOpen() const { return fd_ >= 0; }
    std::size_t recordSize() const { return recordSize_; }

private:
    std::size_t recordSize_;
    int fd_ = -1;
};
