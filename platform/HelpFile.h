// Reading the game's help file.
//
// The help file (DOC.HLP, in the directory the game is started from) is
// UTF-8 text in the subset of HTML that Qt's rich text understands. It is a
// sequence of topics; each topic begins with an empty anchor whose name is
// "sujet-" followed by the topic's context number:
//
//     <a name="sujet-1"></a>
//     <h1>Sommaire</h1>
//     <p>... <a href="#sujet-2">Les règles</a> ...</p>
//
// and runs up to the next such anchor or the end of the file. The first
// <h1> of a topic is its title. Whatever stands before the first anchor (a
// comment describing the file, say) belongs to no topic and is never shown.
// Topics link to each other with href="#sujet-N"; no other link is
// followed, and nothing the file names (pictures, style sheets) is loaded.
// Context 1 is the one the game opens: the contents.
#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

class QUrl;

namespace platform {

struct HelpTopic {
    int context = 0;
    QString title; // plain text of the topic's first <h1>
    QString html;  // the topic's part of the file, anchor included
};

class HelpFile {
public:
    // Reads and splits the file. Never throws: any failure leaves the
    // object without topics and with a French message in error().
    static HelpFile read(const QString &path);

    // Splits help text already in memory (used by read()).
    static HelpFile parse(const QString &path, const QString &text);

    bool isValid() const { return m_error.isEmpty(); }
    // Ready to be shown to the player; empty when the file was read well.
    QString error() const { return m_error; }
    QString path() const { return m_path; }

    // Null when the file has no topic with that context number.
    const HelpTopic *topic(int context) const;
    QList<int> contexts() const { return m_topics.keys(); }

    // The French text that reports a missing topic of this file.
    QString missingTopicMessage(int context) const;

private:
    QString m_path;
    QString m_error;
    QMap<int, HelpTopic> m_topics;
};

// The context number that an internal link ("#sujet-N") leads to; nothing
// for any other link, including ones that carry a scheme, host or path.
std::optional<int> contextOfLink(const QUrl &link);

// Largest help file accepted; anything bigger is not ours.
inline constexpr qint64 kMaxHelpFileSize = 4 * 1024 * 1024;

} // namespace platform
