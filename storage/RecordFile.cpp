// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordFile.h"

#include <QApplication>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

#include "FolderFile.h"
#include "MessageIcon.h"

using namespace Qt::StringLiterals;

QString startDirectory;

namespace storage {

std::int16_t readInt16(const void *at) {
    const auto *bytes = static_cast<const unsigned char *>(at);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8));
}

void writeInt16(void *at, int value) {
    const auto bits = static_cast<std::uint16_t>(value);
    auto *bytes = static_cast<unsigned char *>(at);
    bytes[0] = static_cast<unsigned char>(bits & 0xff);
    bytes[1] = static_cast<unsigned char>(bits >> 8);
}

QString decodeText(QByteArrayView bytes) {
    // Plain ASCII reads the same in every code; most names are, and then the
    // converter, which maps a megabyte of tables, is never opened.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; })) {
        return QString::fromLatin1(bytes);
    }
    // One converter for the whole run: opening one costs more than the
    // conversion, and a single-byte code keeps no state between calls.
    static QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QByteArray encodeText(const QString &text) {
    static QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

} // namespace storage

IoStatus IoStatus::fromErrno(int error) {
    switch (error) {
    case 0:
        return {};
    case ENOENT:
    case ENOTDIR:
        return {IoFailure::FileNotFound, error};
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return {IoFailure::InvalidName, error};
    case EMFILE:
    case ENFILE:
        return {IoFailure::TooManyOpenFiles, error};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return {IoFailure::AccessDenied, error};
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return {IoFailure::DiskFull, error};
    default:
        return {IoFailure::Other, error};
    }
}

QString ioFailureText(const IoStatus &status) {
    switch (status.failure) {
    case IoFailure::None:
        return {};
    case IoFailure::FileNotFound:
        return u"Fichier introuvable"_s;
    case IoFailure::InvalidName:
        return u"Nom de fichier incorrect"_s;
    case IoFailure::TooManyOpenFiles:
        return u"Trop de fichiers ouverts"_s;
    case IoFailure::AccessDenied:
        return u"Accès au fichier refusé"_s;
    case IoFailure::ReadPastEnd:
        return u"Lecture au delà de la fin de fichier"_s;
    case IoFailure::DiskFull:
        return u"Disque plein"_s;
    case IoFailure::Other:
        break;
    }
    return u"Erreur E/S %1"_s.arg(status.code);
}

namespace {
IoFailureReporter currentReporter = nullptr;

void showErrorBox(const QString &text) {
    // On top of whatever the player is looking at: an open dialog first,
    // otherwise the active window; modal to the whole game either way.
    QWidget *parent = QApplication::activeModalWidget();
    if (parent == nullptr) {
        parent = QApplication::activeWindow();
    }
    GameMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text, parent);
    // Focused, so that Return closes it, even when it follows a dialog that
    // has just closed and left no window active to give the focus to.
    box.setDefaultButton(box.okButton());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void setIoFailureReporter(IoFailureReporter reporter) {
    currentReporter = reporter;
}

void reportFileFailure(const QString &text) {
    if (currentReporter != nullptr) {
        currentReporter(text);
    } else {
        showErrorBox(text);
    }
}

bool reportIfFailed(const IoStatus &status) {
    reportIoFailure(status);
    return !status.ok();
}

void reportIoFailure(const IoStatus &status) {
    if (status.ok() || status.told) {
        return;
    }
    const QString text = ioFailureText(status);
    if (currentReporter != nullptr) {
        currentReporter(text);
    } else {
        showErrorBox(text);
    }
}

namespace {
// The startDirectory whose handle is held, or that could not be held; empty
// until one is asked for.
QString takenFor;
int takeError = 0;
bool takeErrorTold = false;

IoStatus status(int error) {
    return IoStatus::fromErrno(error);
}

// A copy of the game stopped between writing a record aside and putting it
// in place leaves the record's hidden file behind; the next to take the
// folder clears them.
void afterFolderTaken() {
    takenFor = startDirectory;
    takeError = 0;
    for (const char *name : {"VELTRANO.CFG", "GAME"}) {
        storage::removeLeftovers(name);
    }
}
} // namespace

void takeStartDirectory() {
    const int error = storage::takeCurrentFolder();
    if (error == 0) {
        afterFolderTaken();
        return;
    }
    // No handle, no files: the folder's name is never a way round, since it
    // may name another folder or none.
    storage::releaseFolder();
    takenFor = startDirectory;
    takeError = error;
    takeErrorTold = false;
}

IoStatus ensureStartDirectory() {
    if (takenFor == startDirectory && !takenFor.isEmpty()) {
        if (takeError == 0) {
            return {};
        }
        IoStatus failure = status(takeError);
        failure.told = takeErrorTold;
        takeErrorTold = true;
        return failure;
    }
    const QByteArray name = QFile::encodeName(startDirectory);
    if (name.contains('\0')) {
        return {IoFailure::InvalidName, EINVAL};
    }
    const int error = storage::takeFolder(name.constData());
    if (error == 0) {
        afterFolderTaken();
    }
    return status(error);
}

bool playingWithoutFiles() {
    return takenFor == startDirectory && takeError != 0;
}

IoStatus replaceRecordFile(const char *name, const char *record, std::size_t size,
                           const storage::SeenFile &seen) {
    return status(storage::replaceFile(name, record, size, seen));
}

RecordFile::~RecordFile() {
    close();
}

IoStatus RecordFile::openExisting(const char *name) {
    close();
    writable_ = true;
    int error = storage::openRegular(name, O_RDWR, fd_);
    if (error == EACCES || error == EROFS) {
        // Still worth reading: the table of a read-only file can be shown.
        writable_ = false;
        const int readOnly = storage::openRegular(name, O_RDONLY, fd_);
        error = readOnly == 0 ? 0 : error;
    }
    return status(error);
}

IoStatus RecordFile::readRecord(char *record, storage::SeenFile &seen) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    std::size_t got = 0;
    if (const int error = storage::readAt(fd_, record, recordSize_, 0, got)) {
        return status(error);
    }
    if (const int error = storage::seeFile(fd_, record, got, seen)) {
        return status(error);
    }
    return got < recordSize_ ? IoStatus{IoFailure::ReadPastEnd, 0} : IoStatus{};
}

IoStatus RecordFile::close() {
    if (fd_ < 0) {
        return {};
    }
    const int fd = fd_;
    fd_ = -1;
    return status(storage::closeFile(fd));
}
