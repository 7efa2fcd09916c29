// SPDX-License-Identifier: GPL-3.0-or-later
// What the storage tests share: a reader of the settings bytes that owes
// nothing to the game's code, a recorder in place of the failure boxes, and
// a read-only mount for root.
#pragma once

#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <sys/mount.h>

#include "RecordFile.h"

namespace storagetest {

inline int nameAt(int rank) {
    return 49 + 16 * rank;
}
inline int durationAt(int rank) {
    return 225 + 11 * rank;
}
inline int marblesAt(int rank) {
    return 346 + 2 * rank;
}

inline int int16At(const QByteArray &b, int at) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) |
                                     static_cast<unsigned char>(b[at + 1]) << 8);
}

inline QString stringAt(const QByteArray &b, int at) {
    return QStringDecoder("windows-1252").decode(b.mid(at + 1, static_cast<unsigned char>(b[at])));
}

// Rank r as "name/marbles/duration".
inline QString rowAt(const QByteArray &b, int r) {
    return stringAt(b, nameAt(r)) + u'/' + QString::number(int16At(b, marblesAt(r))) + u'/' +
           stringAt(b, durationAt(r));
}

inline QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QStringList &reported() {
    static QStringList texts;
    return texts;
}

inline void recordFailures() {
    reported().clear();
    setIoFailureReporter([](const QString &text) { reported() << text; });
}

// An empty small file system on the directory while the object lives,
// read-only (file modes alone don't stop root) or else filled to the brim.
struct ReadOnlyMount {
    explicit ReadOnlyMount(const QString &dir, bool full = false) : path(QFile::encodeName(dir)) {
        // MS_RDONLY is an enumerator in newer C libraries and a macro in older
        // ones, so the flags are an unsigned long of their own.
        unsigned long flags = 0;
        if (!full) {
            flags = MS_RDONLY;
        }
        mounted = ::mount("tmpfs", path.constData(), "tmpfs", flags, "size=64k") == 0;
        QFile filler(dir + QStringLiteral("/filler"));
        if (mounted && full && filler.open(QIODevice::WriteOnly)) {
            while (filler.write(QByteArray(4096, 'f')) > 0 && filler.flush()) {
            }
        }
    }
    ~ReadOnlyMount() {
        if (mounted) {
            ::umount2(path.constData(), MNT_DETACH);
        }
    }
    QByteArray path;
    bool mounted = false;
};

} // namespace storagetest
