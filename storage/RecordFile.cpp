#include "RecordFile.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

int retryOnInterrupt(auto call) {
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
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

RecordFile::~RecordFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

namespace {
// Opened without blocking: a FIFO or a device left in place of a data file
// answers at once instead of freezing the game, and a terminal never
// becomes ours. Plain files ignore the flag.
constexpr int kOpenFlags = O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

IoStatus openPath(int &fd, const QString &path, int extraFlags) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0')) {
        return {IoFailure::InvalidName, EINVAL};
    }
    fd = retryOnInterrupt([&] { return ::open(name.constData(), kOpenFlags | extraFlags, 0666); });
    if (fd < 0) {
        return IoStatus::fromErrno(errno);
    }
    return {};
}
} // namespace

IoStatus RecordFile::openExisting(const QString &path) {
    return openPath(fd_, path, 0);
}

IoStatus RecordFile::create(const QString &path) {
    return openPath(fd_, path, O_CREAT | O_TRUNC);
}

IoStatus RecordFile::truncate() {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    if (retryOnInterrupt([&] { return ::ftruncate(fd_, 0); }) < 0) {
        return IoStatus::fromErrno(errno);
    }
    return {};
}

IoStatus RecordFile::seekRecord(long long index) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    const off_t offset = static_cast<off_t>(index) * static_cast<off_t>(recordSize_);
    // Devices and FIFOs cannot seek; a record file on one simply reads or
    // writes from where it stands, which is the start for a fresh handle.
    if (::lseek(fd_, offset, SEEK_SET) < 0 && errno != ESPIPE) {
        return IoStatus::fromErrno(errno);
    }
    return {};
}

IoStatus RecordFile::readRecord(char *record) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    std::size_t done = 0;
    while (done < recordSize_) {
        const ssize_t got = ::read(fd_, record + done, recordSize_ - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return IoStatus::fromErrno(errno);
        }
        if (got == 0) {
            return {IoFailure::ReadPastEnd, 0};
        }
        done += static_cast<std::size_t>(got);
    }
    return {};
}

IoStatus RecordFile::writeRecord(const char *record) {
    if (fd_ < 0) {
        return {IoFailure::Other, EBADF};
    }
    std::size_t done = 0;
    while (done < recordSize_) {
        const ssize_t put = ::write(fd_, record + done, recordSize_ - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return IoStatus::fromErrno(errno);
        }
        if (put == 0) {
            return {IoFailure::DiskFull, ENOSPC};
        }
        done += static_cast<std::size_t>(put);
    }
    return {};
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
