// What the storage tests share: an independent reader of the settings bytes,
// a recorder for the failure boxes, and a read-only mount for root.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace storagetest {

// Little-endian 16-bit integer and length-prefixed Windows-1252 string at a
// byte offset, read as a stranger to the game's code would.
int int16At(const QByteArray &bytes, int at);
QString stringAt(const QByteArray &bytes, int at);

// Offsets of each field; rank r of the score table.
inline int nameAt(int r) {
    return 49 + 16 * r;
}
inline int durationAt(int r) {
    return 225 + 11 * r;
}
inline int marblesAt(int r) {
    return 346 + 2 * r;
}

QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &bytes);

// The texts of the failure boxes since the last clear, instead of boxes.
QStringList &reported();
void recordFailures();

// Mounts an empty read-only tmpfs on the directory, for as long as the
// object lives. Only root can; mounted() says whether it worked.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString &directory);
    ~ReadOnlyMount();
    bool mounted() const { return mounted_; }

private:
    QByteArray path_;
    bool mounted_ = false;
};

} // namespace storagetest
