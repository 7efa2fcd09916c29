// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces the help reader's files share: how a path is named in a message,
// the known tags and topic names, and character references. Only the help
// reader includes this.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "HelpFile.h"

namespace help {

// A path as the reader's messages show it, in French quotation marks.
QString quotedPath(const QString &path);
// The message for a file that holds no readable text.
QString notHelpText(const QString &path);

// Character references (HelpEntities.cpp).
//
// Decodes the reference that starts at text[at] ('&'). Returns how many
// characters it took (0 when it is no reference: the '&' is then plain text)
// and appends what it stands for.
qsizetype decodeReference(QStringView text, qsizetype at, QString &out);
// The text of an attribute, its references decoded.
QString attributeText(QStringView raw);

// Known tags and names (HelpTags.cpp).
struct Tag {
    QStringView name;
    bool closing = false;
    QStringView nameAttribute, href, cssClass;
    bool hasHref = false;
};

enum class TagKind {
    Ignored,
    Heading1,
    Heading2,
    Paragraph,
    Break,
    Division,
    ListUnordered,
    ListOrdered,
    ListItem,
    Table,
    Row,
    Cell,
    HeaderCell,
    Bold,
    Italic,
    Span,
    Anchor,
    RawText, // its contents are not text to show
};

// Whether a name of the file is the known one (lower case ASCII), in any case.
bool isName(QStringView name, QStringView known);
// What the reader makes of a tag of that name.
TagKind kindOfTag(QStringView name);
// The look a span's class gives its text.
HelpStyle styleOfClass(QStringView cssClass);
// "sujet-N" with one to nine digits, in any case: the name of a topic's
// anchor and the fragment of a link to it.
std::optional<int> topicNumber(QStringView name);

} // namespace help
