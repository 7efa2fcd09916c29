// SPDX-License-Identifier: GPL-3.0-or-later
// Guarded reading of the help file: only an ordinary file, opened without
// waiting, read to a bound, decoded as UTF-8; every failure becomes a
// message in French. The text then goes to the parser (HelpParser.cpp).
#include "HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "FolderFile.h"
#include "HelpParts.h"

using namespace Qt::StringLiterals;

namespace help {

// French quotation marks hold their text with non-breaking spaces, so that a
// long path never leaves a lone « at the end of a line.
QString quotedPath(const QString &path) {
    return u"\u00AB\u00A0%1\u00A0\u00BB"_s.arg(QDir::toNativeSeparators(path));
}

QString notHelpText(const QString &path) {
    return u"Le fichier %1 n'est pas un fichier d'aide de Veltrano : il ne contient pas de texte lisible."_s
        .arg(quotedPath(path));
}

HelpFile HelpFile::fromBytes(const QString &path, const QByteArray &bytes) {
    if (bytes.size() > kMaxHelpFileSize) {
        HelpFile help;
        help.path_ = path;
        help.error_ = u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(
            quotedPath(path));
        return help;
    }
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        HelpFile help;
        help.path_ = path;
        help.error_ = notHelpText(path);
        return help;
    }
    return parse(path, text);
}

namespace {

// An open file descriptor, closed on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Files that say they are ordinary but are made by the kernel as they are
// read; some of them wait for ever for something to say.
bool onPseudoFileSystem(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) {
        return false;
    }
    switch (fs.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

} // namespace

HelpFile HelpFile::read(const QString &path, int folder) {
    HelpFile help;
    help.path_ = path;
    const QString shown = quotedPath(path);
    const auto fail = [&help](const QString &message) {
        help.error_ = message;
        return help;
    };
    const QString notOrdinary =
        u"Le fichier d'aide %1 ne peut pas être lu : ce n'est pas un fichier ordinaire."_s.arg(
            shown);
    const QString unreadable = u"Le fichier d'aide %1 ne peut pas être lu."_s.arg(shown);
    const QString tooLarge =
        u"Le fichier %1 est trop volumineux pour être un fichier d'aide."_s.arg(shown);

    // The name may be a link: the help is often one to the installed copy.
    const QByteArray name = QFile::encodeName(folder >= 0 ? QFileInfo(path).fileName() : path);
    int fd = -1;
    struct stat info {};
    const int opened = storage::openOrdinary(folder >= 0 ? folder : AT_FDCWD, name.constData(),
                                             O_RDONLY, storage::Links::Followed, fd, info);
    Descriptor file(fd);
    switch (opened) {
    case 0:
        break;
    case ENOENT:
    case ENOTDIR:
        help.missing_ = true;
        return fail(u"Le fichier d'aide %1 est introuvable."_s.arg(shown));
    case EACCES:
    case EPERM:
        return fail(u"Le fichier d'aide %1 ne peut pas être lu : accès refusé."_s.arg(shown));
    case ELOOP:
        return fail(
            u"Le fichier d'aide %1 ne peut pas être ouvert : c'est un lien qui ne mène à aucun fichier."_s
                .arg(shown));
    case EISDIR:
        return fail(u"Le fichier d'aide %1 ne peut pas être lu : c'est un dossier."_s.arg(shown));
    case ENODEV:
        return fail(notOrdinary);
    default:
        return fail(u"Le fichier d'aide %1 ne peut pas être ouvert."_s.arg(shown));
    }
    if (onPseudoFileSystem(file.fd())) {
        return fail(notOrdinary);
    }
    if (info.st_size > kMaxHelpFileSize) {
        return fail(tooLarge);
    }

    // One byte more than allowed tells a file that has grown since it was
    // measured.
    QByteArray bytes(kMaxHelpFileSize + 1, Qt::Uninitialized);
    std::size_t got = 0;
    if (const int error =
            storage::readAt(file.fd(), bytes.data(), std::size_t(bytes.size()), 0, got)) {
        // An ordinary file never asks to wait.
        return fail(error == EAGAIN ? notOrdinary : unreadable);
    }
    if (got > std::size_t(kMaxHelpFileSize)) {
        return fail(tooLarge);
    }
    bytes.truncate(qsizetype(got));
    return fromBytes(path, bytes);
}

} // namespace help
