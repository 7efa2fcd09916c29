#include "StorageTest.h"

#include <QFile>
#include <QStringDecoder>
#include <sys/mount.h>

#include "RecordFile.h"

namespace storagetest {

int int16At(const QByteArray &bytes, int at) {
    const auto low = static_cast<unsigned char>(bytes[at]);
    const auto high = static_cast<unsigned char>(bytes[at + 1]);
    const int value = low + 256 * high;
    return value >= 32768 ? value - 65536 : value;
}

QString stringAt(const QByteArray &bytes, int at) {
    const int length = static_cast<unsigned char>(bytes[at]);
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes.mid(at + 1, length));
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QStringList &reported() {
    static QStringList texts;
    return texts;
}

void recordFailures() {
    reported().clear();
    setIoFailureReporter([](const QString &text) { reported() << text; });
}

ReadOnlyMount::ReadOnlyMount(const QString &directory) : path_(QFile::encodeName(directory)) {
    mounted_ = ::mount("tmpfs", path_.constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
}

ReadOnlyMount::~ReadOnlyMount() {
    if (mounted_) {
        ::umount2(path_.constData(), MNT_DETACH);
    }
}

} // namespace storagetest
