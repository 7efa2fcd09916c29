// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPage.h"

#include <QFont>
#include <QList>
#include <QTextDocument>

#include "HelpFile.h"

using namespace Qt::StringLiterals;

namespace help {

namespace {

const QString &pageStyle() {
    static const QString css = uR"(
        h1 { color: #173a7a; font-size: x-large; font-weight: bold; margin-bottom: 10px; }
        h2 { color: #173a7a; font-size: large; font-weight: bold; margin-top: 16px;
             margin-bottom: 4px; }
        p { margin-top: 4px; margin-bottom: 6px; }
        li { margin-bottom: 3px; }
        a { color: #1b5fb0; }
        .commande { font-weight: bold; color: #5a2d0c; }
        .message { font-weight: bold; color: #9c1c1c; }
        .remarque { color: #555555; font-style: italic; }
        .erreur { color: #9c1c1c; font-weight: bold; }
        table { border-collapse: collapse; border-color: #b9c3d3; margin-top: 6px; }
        th { background-color: #e6ecf6; color: #173a7a; }
        th, td { border-width: 1px; border-style: solid; border-color: #c5cdda; }
    )"_s;
    return css;
}

QString escaped(const QString &text) {
    QString out = text.toHtmlEscaped();
    out.replace(u'\n', u"<br />"_s);
    return out;
}

void appendSpans(QString &page, const HelpBlock &block) {
    for (const HelpSpan &span : block.spans) {
        QString open;
        QString close;
        if (span.link > 0) {
            open += u"<a href=\"#sujet-%1\">"_s.arg(span.link);
            close.prepend(u"</a>"_s);
        } else if (span.link < 0) {
            open += u"<a href=\"#lien-%1\">"_s.arg(-span.link - 1);
            close.prepend(u"</a>"_s);
        }
        if (span.style != HelpStyle::Plain) {
            const QString cssClass = span.style == HelpStyle::Command   ? u"commande"_s
                                     : span.style == HelpStyle::Message ? u"message"_s
                                                                        : u"remarque"_s;
            open += u"<span class=\"%1\">"_s.arg(cssClass);
            close.prepend(u"</span>"_s);
        }
        if (span.bold) {
            open += u"<b>"_s;
            close.prepend(u"</b>"_s);
        }
        if (span.italic) {
            open += u"<i>"_s;
            close.prepend(u"</i>"_s);
        }
        page += open + escaped(span.text) + close;
    }
}

} // namespace

void prepareHelpDocument(QTextDocument *document, const QFont &windowFont) {
    document->setDefaultStyleSheet(pageStyle());
    document->setDocumentMargin(14);
    // A page meant to be read at leisure: a little larger than the buttons.
    QFont pageFont = windowFont;
    pageFont.setPointSizeF(pageFont.pointSizeF() + 1.5);
    document->setDefaultFont(pageFont);
}

QString helpPageHtml(const HelpTopic &topic) {
    using Kind = HelpBlock::Kind;
    // The topic's own anchor heads the page, as it heads the topic in the
    // file; the first heading's glyphs are placed as they always were.
    QString page = u"<a name=\"sujet-%1\"></a>"_s.arg(topic.context);
    QList<bool> lists; // the open lists, numbered or not, outermost first
    bool inTable = false;

    const auto closeListsTo = [&](qsizetype depth) {
        while (lists.size() > depth) {
            page += lists.takeLast() ? u"</ol>"_s : u"</ul>"_s;
        }
    };
    const auto closeTable = [&] {
        if (inTable) {
            page += u"</tr></table>"_s;
        }
        inTable = false;
    };

    for (const HelpBlock &block : topic.blocks) {
        if (block.kind != Kind::ListItem) {
            closeListsTo(0);
        }
        if (block.kind != Kind::Cell) {
            closeTable();
        }

        switch (block.kind) {
        case Kind::Heading1:
        case Kind::Heading2: {
            const QString tag = block.kind == Kind::Heading1 ? u"h1"_s : u"h2"_s;
            page += u'<' + tag + u'>';
            appendSpans(page, block);
            page += u"</"_s + tag + u'>';
            break;
        }
        case Kind::Paragraph:
            page += block.aside ? u"<p class=\"remarque\">"_s : u"<p>"_s;
            appendSpans(page, block);
            page += u"</p>"_s;
            break;
        case Kind::ListItem:
            closeListsTo(block.newGroup ? block.depth - 1 : block.depth);
            if (lists.size() == block.depth && lists.last() != block.numbered) {
                closeListsTo(block.depth - 1);
            }
            while (lists.size() < block.depth) {
                lists.append(block.numbered);
                page += block.numbered ? u"<ol>"_s : u"<ul>"_s;
            }
            page += u"<li>"_s;
            appendSpans(page, block);
            page += u"</li>"_s;
            break;
        case Kind::Cell:
            if (block.newGroup) {
                closeTable();
            }
            if (!inTable) {
                page += u"<table cellspacing=\"0\" cellpadding=\"5\" border=\"1\" "
                        u"width=\"100%\"><tr>"_s;
                inTable = true;
            } else if (block.newRow) {
                page += u"</tr><tr>"_s;
            }
            page += block.header ? u"<th align=\"left\">"_s : u"<td>"_s;
            appendSpans(page, block);
            page += block.header ? u"</th>"_s : u"</td>"_s;
            break;
        }
    }
    closeListsTo(0);
    closeTable();
    if (topic.blocks.isEmpty()) {
        page += u"<p class=\"remarque\">Cette rubrique ne contient aucun texte.</p>"_s;
    }
    if (topic.cut) {
        page += u"<p class=\"erreur\">La suite de cette rubrique n'est pas affichée : elle est "
                u"trop longue pour une rubrique d'aide.</p>"_s;
    }
    return page;
}

QString outsideLinkOf(const HelpTopic &topic, const QString &fragment) {
    constexpr QStringView prefix = u"lien-";
    if (!fragment.startsWith(prefix)) {
        return {};
    }
    bool ok = false;
    const int i = QStringView(fragment).sliced(prefix.size()).toInt(&ok);
    return ok && i >= 0 && i < topic.outsideLinks.size() ? topic.outsideLinks[i] : QString();
}

} // namespace help
