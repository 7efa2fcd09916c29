#include "RecordFile.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "FolderFile.h"
#include "Shared.h"

using namespace Qt::StringLiterals;

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
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), text,
                    QMessageBox::NoButton, parent);
    // Texts may quote bytes from a file: never let them pass for markup.
    box.setTextFormat(Qt::PlainText);
    box.addButton(u"OK"_s, QMessageBox::AcceptRole);
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

void reportIoFailure(const IoStatus &status) {
    if (status.ok()) {
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
// The startDirectory whose handle is held; empty until one is.
QString heldFor;

IoStatus status(int error) {
    return IoStatus::fromErrno(error);
}
} // namespace

void holdStartDirectory() {
    if (folderfile::holdCurrent() == 0) {
        heldFor = startDirectory;
    }
}

IoStatus reachStartDirectory() {
    if (folderfile::folder() >= 0 && heldFor == startDirectory) {
        return {};
    }
    const QByteArray name = QFile::encodeName(startDirectory);
    if (name.contains('\0')) {
        return {IoFailure::InvalidName, EINVAL};
    }
    const int error = folderfile::holdPath(name.constData());
    if (error == 0) {
        heldFor = startDirectory;
    }
    return status(error);
}

IoStatus replaceRecordFile(const char *name, const char *record, std::size_t size) {
    return status(folderfile::replace(name, record, size));
}

RecordFile::~RecordFile() {
    close();
}

IoStatus RecordFile::openExisting(const char *name) {
    close();
    writable_ = true;
    int error = folderfile::openRegular(name, O_RDWR, fd_);
    if (error == EACCES || error == EROFS) {
        // Still worth reading: the table of a read-only file can be shown.
        writable_ = false;
        const int readOnly = folderfile::openRegular(name, O_RDONLY, fd_);
        error = readOnly == 0 ? 0 : error;
    }
    return status(error);
}

IoStatus RecordFile::readRecord(char *record) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    std::size_t got = 0;
    if (const int error = folderfile::readAt(fd_, record, recordSize_, 0, got)) {
        return status(error);
    }
    return got < recordSize_ ? IoStatus{IoFailure::ReadPastEnd, 0} : IoStatus{};
}

IoStatus RecordFile::writeRecord(const char *record) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    if (!writable_) {
        return status(EACCES);
    }
    return status(folderfile::writeAt(fd_, record, recordSize_, 0));
}

IoStatus RecordFile::close() {
    if (fd_ < 0) {
        return {};
    }
    const int fd = fd_;
    fd_ = -1;
    // A failed close still releases the descriptor; retrying could close
    // somebody else's.
    if (::close(fd) < 0 && errno != EINTR) {
        return IoStatus::fromErrno(errno);
    }
    return {};
}
