// SPDX-License-Identifier: GPL-3.0-or-later
// The help file, read from its folder and laid out as the viewer shows it:
// every topic stays within its limits and has a title, the page carries no
// markup but the viewer's own, and laying it out asks for nothing from
// outside.
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTextDocument>
#include <QUrl>

#include "FuzzTarget.h"
#include "HelpFile.h"
#include "HelpPage.h"

using namespace Qt::StringLiterals;
using namespace fuzztarget;

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

QGuiApplication &application() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "fuzz_help";
    static char *argv[] = {name, nullptr};
    // Never destroyed: at exit it would outlive parts of Qt it needs.
    static QGuiApplication &app = *new QGuiApplication(argc, argv);
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const QGuiApplication &app = application();
    (void)app;
    static QTemporaryDir dir(scratchTemplate("fuzz_help"));
    require(dir.isValid(), "a scratch folder");
    static const QRegularExpression anyTag(u"<(/?)([a-zA-Z0-9]+)"_s);
    static const QSet<QString> ourTags{u"h1"_s, u"h2"_s,    u"p"_s,  u"br"_s, u"ul"_s,
                                       u"ol"_s, u"li"_s,    u"b"_s,  u"i"_s,  u"span"_s,
                                       u"a"_s,  u"table"_s, u"tr"_s, u"td"_s, u"th"_s};

    const QString path = dir.path() + u"/DOC.HLP"_s;
    writeFile(path, data, size);
    const help::HelpFile help = help::HelpFile::read(path);
    require(help.isValid() || (!help.error().isEmpty() && help.contexts().isEmpty()),
            "a refused file has a message and no topic");
    const QList<int> contexts = help.contexts();
    for (qsizetype k = 0; k < qMin<qsizetype>(2, contexts.size()); ++k) {
        const help::HelpTopic *topic = help.topic(contexts[k]);
        require(topic != nullptr, "each context listed has its topic");
        qsizetype text = 0;
        for (const help::HelpBlock &block : topic->blocks) {
            for (const help::HelpSpan &span : block.spans) {
                text += span.text.size();
            }
        }
        require(text <= help::kMaxTopicText, "a topic's text within its limit");
        require(topic->blocks.size() <= help::kMaxTopicBlocks,
                "a topic's blocks within their limit");
        require(!topic->title.isEmpty(), "a topic has a title");

        const QString page = help::helpPageHtml(*topic);
        for (auto it = anyTag.globalMatch(page); it.hasNext();) {
            require(ourTags.contains(it.next().captured(2)), "no markup of the file on the page");
        }
        WatchedDocument document;
        help::prepareHelpDocument(&document, QGuiApplication::font());
        document.setHtml(page);
        document.setTextWidth(600);
        (void)document.size();
        require(document.requests == 0, "the page asks for no outside resource");
    }
    return 0;
}
