// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a failed check stops the run the way a
// sanitizer report does, so that libFuzzer keeps the input that broke it.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzztarget {

inline void require(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// Where a target's scratch folder goes: in memory where there is such a
// place, since on a disk the run would mostly measure the disk.
inline QString scratchTemplate(const char *name) {
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable()
               ? QStringLiteral("/dev/shm/") + QLatin1String(name) + QStringLiteral("-XXXXXX")
               : QString();
}

inline void writeFile(const QString &path, const std::uint8_t *data, std::size_t size) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) ==
                    static_cast<qint64>(size),
            "writing the input");
}

} // namespace fuzztarget
