// Crafted and damaged help files through the reader and the page built from
// it, under the address and undefined-behaviour sanitizers: nothing crashes,
// every topic stays within its limits, the page carries no markup but ours,
// and laying it out asks for nothing from outside.
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>
#include <random>

#include "HelpFile.h"
#include "HelpPage.h"

using namespace Qt::StringLiterals;

namespace {

// A document that notes every outside thing it is asked to load.
class WatchedDocument : public QTextDocument {
public:
    int requests = 0;

protected:
    QVariant loadResource(int, const QUrl &) override {
        ++requests;
        return {};
    }
};

const char *const kPieces[] = {
    "<a name=\"sujet-1\"></a>",
    "<a name='sujet-2'>",
    "<A NAME=sujet-3>",
    "<a name=\"sujet-",
    "<h1>",
    "</h1>",
    "<h2>",
    "</h2>",
    "<h3>",
    "<p>",
    "</p>",
    "<p class=\"remarque\">",
    "<br>",
    "<br/>",
    "<ul>",
    "</ul>",
    "<ol>",
    "</ol>",
    "<li>",
    "</li>",
    "<table>",
    "</table>",
    "<tr>",
    "</tr>",
    "<td>",
    "</td>",
    "<th align=left>",
    "</th>",
    "<b>",
    "</b>",
    "<i>",
    "</i>",
    "<strong>",
    "<em>",
    "<span class=\"commande\">",
    "<span class=message>",
    "</span>",
    "<a href=\"#sujet-2\">",
    "<a href=\"#sujet-99\">",
    "<a href=\"http://exemple.fr/\">",
    "<a href='file:///etc/passwd'>",
    "</a>",
    "<img src=\"/dev/zero\">",
    "<link type=\"text/css\" href=/dev/zero",
    "<table background=/dev/zero",
    "<p style=\"background-image:url(/dev/zero)\">",
    "<script>",
    "</script>",
    "<style>",
    "</style>",
    "<title>",
    "<!--",
    "-->",
    "<!DOCTYPE html>",
    "<?xml?>",
    "<blockquote>",
    "<div>",
    "</div>",
    "&nbsp;",
    "&amp;",
    "&lt;",
    "&#233;",
    "&#x1F600;",
    "&#0;",
    "&#xD800;",
    "&#99999999;",
    "&eacute",
    "&bogus;",
    "&lt;img src=/dev/zero&gt;",
    "<",
    ">",
    "\"",
    "'",
    "=",
    "/",
    " ",
    "\n",
    "\t",
    "Texte ",
    "règle ",
    "œil ",
    "x",
    "é",
    "\xC3",
    "\x80",
    "\xFF",
    "\x01",
};

QByteArray randomInput(std::mt19937 &random) {
    std::uniform_int_distribution<int> piece(0, int(std::size(kPieces)) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    QByteArray bytes;
    // Most inputs open a topic at once, so that the builder sees them.
    if (percent(random) < 85) {
        bytes += "<a name=\"sujet-1\"></a>";
    }
    const int count = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < count; ++i) {
        if (percent(random) < 8) {
            bytes += char(byte(random));
        } else {
            bytes += kPieces[piece(random)];
        }
    }
    // Now and then a pattern repeated well past a topic's limits.
    if (std::uniform_int_distribution<int>(0, 999)(random) == 0 && !bytes.isEmpty()) {
        bytes = bytes.repeated(int(40000 / bytes.size()) + 1);
    }
    return bytes;
}

int failures = 0;

void fail(const char *what, const QByteArray &input) {
    if (++failures <= 5) {
        std::fprintf(stderr, "%s for input (base64) %s\n", what, input.toBase64().constData());
    }
}

void check(const QByteArray &input) {
    static const QRegularExpression anyTag(u"<(/?)([a-zA-Z0-9]+)"_s);
    static const QSet<QString> ourTags{u"h1"_s, u"h2"_s,    u"p"_s,  u"br"_s, u"ul"_s,
                                       u"ol"_s, u"li"_s,    u"b"_s,  u"i"_s,  u"span"_s,
                                       u"a"_s,  u"table"_s, u"tr"_s, u"td"_s, u"th"_s};

    const platform::HelpFile help = platform::HelpFile::fromBytes(u"DOC.HLP"_s, input);
    const QList<int> contexts = help.contexts();
    for (qsizetype k = 0; k < qMin<qsizetype>(2, contexts.size()); ++k) {
        const platform::HelpTopic &topic = *help.topic(contexts[k]);
        qsizetype text = 0;
        for (const platform::HelpBlock &block : topic.blocks) {
            for (const platform::HelpSpan &span : block.spans) {
                text += span.text.size();
            }
        }
        if (text > platform::kMaxTopicText || topic.blocks.size() > platform::kMaxTopicBlocks) {
            fail("topic past its limits", input);
        }
        if (topic.title.isEmpty()) {
            fail("topic without a title", input);
        }

        const QString page = platform::helpPageHtml(topic);
        for (auto it = anyTag.globalMatch(page); it.hasNext();) {
            if (!ourTags.contains(it.next().captured(2))) {
                fail("markup of the file on the page", input);
                break;
            }
        }
        WatchedDocument document;
        platform::prepareHelpDocument(&document, QGuiApplication::font());
        document.setHtml(page);
        document.setTextWidth(600);
        (void)document.size();
        if (document.requests != 0) {
            fail("the page asked for an outside resource", input);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    // VELTRANO_FUZZ_SEED and VELTRANO_FUZZ_INPUTS make a longer run without an edit.
    std::mt19937 random(qEnvironmentVariable("VELTRANO_FUZZ_SEED", u"20261207"_s).toUInt());
    const int kInputs = qEnvironmentVariable("VELTRANO_FUZZ_INPUTS", u"100000"_s).toInt();
    for (int i = 0; i < kInputs; ++i) {
        check(randomInput(random));
    }
    std::printf("%d inputs, %d failed\n", kInputs, failures);
    return failures == 0 ? 0 : 1;
}
