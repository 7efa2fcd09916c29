// SPDX-License-Identifier: GPL-3.0-or-later
// The page the help window shows for a topic, built from the reader's model
// alone: its text, escaped, inside tags of our own. Nothing of the file's
// markup gets here, so the page names no picture, style sheet or other file.
#pragma once

#include <QString>

class QFont;
class QTextDocument;

namespace help {

struct HelpTopic;

// Gives a document the look of the help pages: colours, sizes, margins, and
// a text a little larger than the window's own.
void prepareHelpDocument(QTextDocument *document, const QFont &windowFont);

// The topic as HTML. Links to topics read "#sujet-N"; a link out of the file
// reads "#lien-I", I its place in HelpTopic::outsideLinks.
QString helpPageHtml(const HelpTopic &topic);

// What a link of the page written "#lien-I" stood for in the file; empty for
// any other link.
QString outsideLinkOf(const HelpTopic &topic, const QString &fragment);

} // namespace help
