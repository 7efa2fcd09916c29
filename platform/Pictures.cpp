#include "Pictures.h"

#include <QResource>

#include <algorithm>

#include "ProgramPages.h"

using namespace Qt::StringLiterals;

QString pictureFor(const QString &path, qreal devicePixelRatio) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (devicePixelRatio <= 1.0 || dot < 0) {
        return path;
    }
    return path.left(dot) + u"@2x"_s + path.mid(dot);
}

QImage loadImage(const QString &path, qreal devicePixelRatio) {
    const QString chosen = pictureFor(path, devicePixelRatio);
    if (chosen != path) {
        QImage fine(chosen);
        if (!fine.isNull()) {
            fine.setDevicePixelRatio(2);
            return fine;
        }
    }
    return QImage(path);
}

QPixmap loadPicture(const QString &path, qreal devicePixelRatio) {
    return QPixmap::fromImage(loadImage(path, devicePixelRatio));
}

namespace {

// A folder of stored files, whose names the resource system lists without
// making up file information for each.
class StoredFolder : public QResource {
public:
    using QResource::children;
    using QResource::QResource;
};

} // namespace

void releaseStoredPictures() {
    // The folders the game's own pictures are packed under; the toolkit has
    // stored files of its own, in its libraries.
    const uchar *low = nullptr;
    const uchar *high = nullptr;
    for (const QString &folder : {u":/pictures"_s, u":/cursors"_s, u":/logo"_s, u":/icon"_s}) {
        for (const QString &name : StoredFolder(folder).children()) {
            const QResource stored(folder + u'/' + name);
            const uchar *data = stored.data();
            if (data == nullptr || stored.compressionAlgorithm() != QResource::NoCompression) {
                continue;
            }
            low = low == nullptr ? data : std::min(low, data);
            high = std::max(high, data + stored.size());
        }
    }
    if (low != nullptr) {
        platform::releaseProgramPages(low, static_cast<std::size_t>(high - low));
    }
}
