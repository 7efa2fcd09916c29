// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the game's help file.
//
// DOC.HLP lies in the directory the game is started from, so whoever can
// write there decides what it holds: it is read as hostile text, and its
// markup never reaches the toolkit. The reader turns each topic into a small
// model of our own (headings, paragraphs, lists, tables, bold and italic,
// links between topics), and the viewer builds its page from that model
// alone, so nothing the file names (a picture, a style sheet, a background,
// another file) is ever opened.
//
// The format: UTF-8 text in a small subset of HTML, cut into topics. Each
// topic begins with an empty anchor whose name is "sujet-" followed by the
// topic's context number, and runs up to the next such anchor or the end of
// the file:
//
//     <a name="sujet-1"></a>
//     <h1>Sommaire</h1>
//     <p>... <a href="#sujet-2">Les règles</a> ...</p>
//
// Within a topic the reader keeps:
//   - <h1>, the first of which is the topic's title, and <h2> (<h3> to <h6>
//     read as <h2>);
//   - paragraphs <p>, and <p class="remarque"> for an aside; <br> ends a line;
//   - lists <ul> and <ol> of <li>, nested up to kMaxListDepth deep;
//   - tables <table> of rows <tr> of cells <th> (a column heading) and <td>
//     that hold text; a table inside a cell reads as more text of that cell;
//   - in the text, <b> or <strong>, <i> or <em>, <span class="commande">
//     (a command), "message" (a text the game shows) or "remarque" (an
//     aside), links <a href="#sujet-N"> to other topics, and character
//     references (&nbsp; &amp; &#233; ...).
// Any other tag is dropped and its text kept; the text of <script>, <style>,
// <title> and the like is dropped with it, and so are comments, which are
// notes for whoever edits the file (an anchor in one opens no topic). Links
// that lead out of the file are kept as text that the viewer refuses to
// follow. Whatever stands before the first anchor belongs to no topic. A
// context number used twice keeps its first topic.
//
// Work is bounded: the file is at most kMaxHelpFileSize bytes, and a topic
// keeps at most kMaxTopicText characters in kMaxTopicBlocks blocks and lines,
// kMaxTopicCells table cells and kMaxTopicSpans stretches of text; what lies
// beyond is cut, and the topic says so (HelpTopic::cut).
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class QUrl;

namespace help {

// Largest help file accepted; anything bigger is not ours. The real help is
// about 20 KB.
inline constexpr qint64 kMaxHelpFileSize = 512 * 1024;
// A real topic holds at most 1,700 characters in 25 blocks, 27 stretches of
// text and 22 table cells. The limits leave room for ten times as much and
// keep the worst page that fits in them quick to lay out.
inline constexpr qsizetype kMaxTopicText = 16000;
inline constexpr qsizetype kMaxTopicBlocks = 400;
inline constexpr qsizetype kMaxTopicSpans = 600;
// Table cells cost the most to lay out; a row wider than this goes on below.
inline constexpr qsizetype kMaxTopicCells = 160;
inline constexpr int kMaxRowCells = 8;
inline constexpr int kMaxListDepth = 4;
// No word of a help page is this long; a longer run of letters is given
// places where it may wrap.
inline constexpr qsizetype kMaxWordLength = 40;

enum class HelpStyle : quint8 { Plain, Command, Message, Aside };

// A stretch of text with one look. A '\n' in the text ends a line.
struct HelpSpan {
    QString text;
    bool bold = false;
    bool italic = false;
    HelpStyle style = HelpStyle::Plain;
    // 0: no link; N > 0: the topic numbered N; -(i + 1): outsideLinks[i],
    // an address the viewer refuses to follow.
    int link = 0;
};

struct HelpBlock {
    enum class Kind : quint8 { Heading1, Heading2, Paragraph, ListItem, Cell };
    Kind kind = Kind::Paragraph;
    bool aside = false;    // a paragraph of class "remarque"
    bool numbered = false; // an item of an <ol>
    bool header = false;   // a cell written <th>
    bool newRow = false;   // a cell that begins its row
    bool newGroup = false; // the first item of its list, the first cell of its table
    int depth = 1;         // of a list item, 1 to kMaxListDepth
    QList<HelpSpan> spans;
};

struct HelpTopic {
    int context = 0;
    QString title; // plain text of the topic's first <h1>
    QList<HelpBlock> blocks;
    QStringList outsideLinks;
    bool cut = false; // the topic went past a limit and lost its end

    // The topic's text as the player reads it, a line per block.
    QString plainText() const;
};

class HelpFile {
public:
    // Reads and splits the file. Never throws, never waits on anything but
    // an ordinary file: any failure leaves the object without topics and
    // with a French message in error(). Given a handle on the folder the
    // file lies in, the file is reached through it by its name alone, so
    // that a folder whose name is no valid text, or too deep to be named,
    // still serves; path is then what the messages show.
    static HelpFile read(const QString &path, int folder = -1);

    // The same from bytes already read, and from text already decoded.
    static HelpFile fromBytes(const QString &path, const QByteArray &bytes);
    static HelpFile parse(const QString &path, const QString &text);

    bool isValid() const { return error_.isEmpty(); }
    // Ready to be shown to the player; empty when the file was read well.
    QString error() const { return error_; }
    // True when the failure is that nothing bears the file's name.
    bool isMissing() const { return missing_; }
    QString path() const { return path_; }

    // Null when the file has no topic with that context number.
    const HelpTopic *topic(int context) const;
    QList<int> contexts() const { return topics_.keys(); }

    // The French text that reports a missing topic of this file.
    QString missingTopicMessage(int context) const;

private:
    QString path_;
    QString error_;
    bool missing_ = false;
    QMap<int, HelpTopic> topics_;
};

// The context number that an internal link ("#sujet-N") leads to; nothing
// for any other link, including ones that carry a scheme, host or path.
std::optional<int> contextOfLink(const QUrl &link);

} // namespace help
