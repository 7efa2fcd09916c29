// SPDX-License-Identifier: GPL-3.0-or-later
#include "Faces.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <fontconfig/fontconfig.h>

using namespace Qt::StringLiterals;

namespace appearance {

namespace {

// Metric-compatible faces first, so the labels keep the widths their boxes
// were made for.
const QStringList kSans = {u"Liberation Sans"_s, u"Arimo"_s,    u"DejaVu Sans"_s,
                           u"Noto Sans"_s,       u"FreeSans"_s, u"Nimbus Sans"_s,
                           u"Cantarell"_s,       u"Helvetica"_s};
const QStringList kSerif = {
    u"Liberation Serif"_s, u"Tinos"_s,        u"DejaVu Serif"_s, u"Noto Serif"_s,
    u"FreeSerif"_s,        u"Nimbus Roman"_s, u"Times"_s};
// For "System", a face drawn for the screen reads better at 13 pixels than
// one that copies a printer face's metrics.
const QStringList kScreenSans = {u"DejaVu Sans"_s,     u"Noto Sans"_s, u"Cantarell"_s,
                                 u"Liberation Sans"_s, u"Arimo"_s,     u"FreeSans"_s};

// The faces installed, read once: asking the database about each wanted face
// in turn had fontconfig resolve every name as an alias, which cost more
// than all the rest of the start-up's font work.
class Installed {
public:
    Installed() {
        for (const QString &family : QFontDatabase::families()) {
            lower_.insert(family.toLower());
        }
    }
    bool has(const QString &family) const { return lower_.contains(family.toLower()); }
    bool proportional(const QString &family) const {
        return has(family) && !QFontDatabase::isFixedPitch(family);
    }
    QStringList present(const QStringList &wanted) const {
        QStringList found;
        for (const QString &family : wanted) {
            if (proportional(family)) {
                found.append(family);
            }
        }
        return found;
    }

private:
    QSet<QString> lower_;
};

// Last resort on a machine with none of the faces above: any proportional
// face, one whose name says sans-serif if there is one.
QString anyProportional() {
    QString fallback;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) || QFontDatabase::isPrivateFamily(family)) {
            continue;
        }
        if (family.contains(u"Sans"_s) && !family.contains(u"Mono"_s)) {
            return family;
        }
        if (fallback.isEmpty()) {
            fallback = family;
        }
    }
    return fallback;
}

// The face drawn for each name the windows use, by lower-case name.
QHash<QString, QString> &drawnFaces() {
    static QHash<QString, QString> faces;
    return faces;
}

// The face "System" was mapped to, for the application's font.
QString &systemFace() {
    static QString face;
    return face;
}

// The proportional sans-serif face "System" stands for on this machine.
QString screenFace(const Installed &installed) {
    const QStringList found = installed.present(kScreenSans);
    return found.isEmpty() ? anyProportional() : found.first();
}

// Whether text in `family` comes out in a typewriter face. The toolkit's font
// database takes a name it does not hold for a fontconfig alias and settles
// on the face fontconfig matches it to, and calls a face fixed-pitch by its
// spacing; the same is asked of fontconfig here. Asking the toolkit would
// open the face, its file and its tables, for a font nothing on screen uses.
bool typewriterFamily(const QString &family) {
    FcPattern *pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return false;
    }
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    int spacing = FC_PROPORTIONAL;
    const bool typewriter = match != nullptr &&
                            FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch &&
                            spacing >= FC_MONO;
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    return typewriter;
}

} // namespace

void mapWindowsFaces() {
    const Installed installed;
    const QString system = screenFace(installed);
    QStringList sans = installed.present(kSans);
    QStringList serif = installed.present(kSerif);
    if (!system.isEmpty()) {
        sans.append(system);
        serif.append(system);
        for (const QString &name : {u"System"_s, u"MS Sans Serif"_s}) {
            QFont::insertSubstitution(name, system);
        }
    }
    QFont::insertSubstitutions(u"Arial"_s, sans);
    QFont::insertSubstitutions(u"Times New Roman"_s, serif);

    // The face the font engine would settle on: the name itself when
    // installed, else its first installed substitute.
    for (const QString &name :
         {u"System"_s, u"MS Sans Serif"_s, u"Arial"_s, u"Times New Roman"_s}) {
        QStringList candidates = QFont::substitutes(name);
        candidates.prepend(name);
        for (const QString &face : std::as_const(candidates)) {
            if (installed.has(face)) {
                drawnFaces().insert(name.toLower(), face);
                break;
            }
        }
    }

    systemFace() = system;
}

void keepApplicationFontProportional() {
    // Message boxes, buttons and the help use the application's font. A
    // desktop's own choice is kept unless it fell on a typewriter face.
    const QString &system = systemFace();
    QFont font = QApplication::font();
    if (!system.isEmpty() && typewriterFamily(font.family())) {
        font.setFamilies({system});
        QApplication::setFont(font);
    }
}

QString installedFace(const QString &family) {
    return drawnFaces().value(family.toLower(), family);
}

} // namespace appearance
