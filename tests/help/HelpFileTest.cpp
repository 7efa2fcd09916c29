// SPDX-License-Identifier: GPL-3.0-or-later
// How the help file is cut into topics, which links count as internal, and
// whether the help that ships with the game is complete.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "HelpFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;
using help::contextOfLink;
using help::HelpFile;

namespace {

QString shippedHelp() {
    return QString::fromUtf8(VELTRANO_HELP_SOURCE);
}

QList<int> linksOf(const help::HelpTopic &topic) {
    QList<int> links;
    for (const help::HelpBlock &block : topic.blocks) {
        for (const help::HelpSpan &span : block.spans) {
            if (span.link != 0) {
                links.append(span.link);
            }
        }
    }
    return links;
}

// The model of a topic in one line: a block per "|", its kind first; *bold*,
// _italic_, c() m() r() for the classes, #N() and out[address]() for links,
// ⏎ for a line break and ~ for a place where a long word may wrap.
QString shape(const help::HelpTopic &topic) {
    using Kind = help::HelpBlock::Kind;
    QStringList blocks;
    for (const help::HelpBlock &b : topic.blocks) {
        QString s;
        switch (b.kind) {
        case Kind::Heading1:
            s = u"h1"_s;
            break;
        case Kind::Heading2:
            s = u"h2"_s;
            break;
        case Kind::Paragraph:
            s = b.aside ? u"aside"_s : u"p"_s;
            break;
        case Kind::ListItem:
            s = (b.numbered ? u"ol"_s : u"ul"_s) + QString::number(b.depth) +
                (b.newGroup ? u"+"_s : u""_s);
            break;
        case Kind::Cell:
            s = (b.header ? u"th"_s : u"td"_s) + (b.newGroup ? u"+"_s : b.newRow ? u"/"_s : u""_s);
            break;
        }
        s += u':';
        for (const help::HelpSpan &span : b.spans) {
            QString t = span.text;
            t.replace(u'\n', u'⏎').replace(QChar(0x200B), u'~').replace(QChar(0xA0), u'_');
            if (span.bold) {
                t = u'*' + t + u'*';
            }
            if (span.italic) {
                t = u'_' + t + u'_';
            }
            if (span.style != help::HelpStyle::Plain) {
                const char16_t c = span.style == help::HelpStyle::Command   ? u'c'
                                   : span.style == help::HelpStyle::Message ? u'm'
                                                                            : u'r';
                t = QChar(c) + u'(' + t + u')';
            }
            if (span.link > 0) {
                t = u"#%1(%2)"_s.arg(span.link).arg(t);
            } else if (span.link < 0) {
                t = u"out[%1](%2)"_s.arg(topic.outsideLinks.value(-span.link - 1), t);
            }
            s += t;
        }
        blocks << s;
    }
    return blocks.join(u" | "_s);
}

} // namespace

class HelpFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitsTopicsAtTheirAnchors();
    void titlesAreReadableText();
    void textThatIsNotHelp();
    void readsTopicsIntoTheModel_data();
    void readsTopicsIntoTheModel();
    void keepsTopicsWithinLimits_data();
    void keepsTopicsWithinLimits();
    void internalLinks_data();
    void internalLinks();
    void shippedHelpOpensAtItsContents();
    void shippedHelpLinksLeadSomewhere();
    void shippedHelpCoversEveryCommand_data();
    void shippedHelpCoversEveryCommand();
    void gameDirectoryHoldsTheSameHelp();
    void readsThroughItsFolder_data();
    void readsThroughItsFolder();
};

void HelpFileTest::splitsTopicsAtTheirAnchors() {
    const QString text = uR"(<!-- notes; <a name="sujet-7"></a> opens nothing -->
<p>Avant la première rubrique</p>
<a name="sujet-1"></a><h1>Un</h1><p>Texte un</p>
<A NAME='sujet-20'></A><h1>Vingt</h1><p>Texte vingt</p>
<a name="sujet-3"></a><h1>Trois</h1><p>Texte trois</p>
<a name="autre"></a><p>Suite de trois</p>
<a name="sujet-1"></a><h1>Un bis</h1><p>Doublon</p>)"_s;
    const HelpFile help = HelpFile::parse(u"/x/DOC.HLP"_s, text);
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QCOMPARE(help.contexts(), (QList<int>{1, 3, 20}));

    // Each topic holds its own text and nothing of its neighbours'; a
    // number used twice keeps its first topic.
    QCOMPARE(help.topic(1)->title, u"Un"_s);
    QCOMPARE(help.topic(1)->plainText(), u"Un\nTexte un\n"_s);
    QCOMPARE(help.topic(20)->title, u"Vingt"_s);
    QCOMPARE(help.topic(20)->plainText(), u"Vingt\nTexte vingt\n"_s);
    // Other anchors are part of the topic they stand in.
    QCOMPARE(help.topic(3)->plainText(), u"Trois\nTexte trois\nSuite de trois\n"_s);

    QVERIFY(!help.topic(7));
    QVERIFY(!help.topic(0));
    QVERIFY(help.missingTopicMessage(7).contains(u"n° 7"_s));
    QVERIFY(help.missingTopicMessage(7).contains(u"/x/DOC.HLP"_s));
}

void HelpFileTest::titlesAreReadableText() {
    const HelpFile help = HelpFile::parse(u"DOC.HLP"_s, uR"(
<a name="sujet-1"></a><h1 align="center">Sauver <i>&amp;</i>
    Charger</h1>
<a name="sujet-2"></a><p>Pas de titre</p>)"_s);
    QCOMPARE(help.topic(1)->title, u"Sauver & Charger"_s);
    QCOMPARE(help.topic(2)->title, u"Rubrique 2"_s);
}

void HelpFileTest::textThatIsNotHelp() {
    const HelpFile none = HelpFile::parse(u"DOC.HLP"_s, u"<h1>Une page</h1><p>sans rubrique</p>"_s);
    QVERIFY(!none.isValid());
    QVERIFY(none.contexts().isEmpty());
    QVERIFY(none.error().contains(u"aucune rubrique"_s));

    QString withNul = u"<a name=\"sujet-1\"></a><h1>Un</h1>"_s;
    withNul.append(QChar(0));
    const HelpFile binary = HelpFile::parse(u"DOC.HLP"_s, withNul);
    QVERIFY(!binary.isValid());
    QVERIFY(!binary.topic(1));
    QVERIFY(binary.error().contains(u"pas de texte lisible"_s));
}

void HelpFileTest::readsTopicsIntoTheModel_data() {
    QTest::addColumn<QString>("topic"); // what follows the anchor of topic 1
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");

    QTest::newRow("title and text")
        << u"<h1>Les  r&egrave;gles</h1>\n<p>Un\n  coup&nbsp;: <b>sauter</b>.</p>"_s
        << u"Les règles"_s << u"h1:Les règles | p:Un coup_: *sauter*."_s;
    QTest::newRow("a space keeps the look of what it follows")
        << u"<p>dans <b>Veltrano</b> , <i>un </i>jeu</p>"_s << u"Rubrique 1"_s
        << u"p:dans *Veltrano* , _un _jeu"_s;
    QTest::newRow("classes and links")
        << u"<p class=remarque><span class=\"commande\">Charger</span> <span class='MESSAGE'>"
           u"GAGNE</span> <a href=\"#sujet-9\">Sauver</a> <a href=\"http://x.fr/?a=1&amp;b\">"
           u"web</a> <span class=inconnue>rien</span></p>"_s
        << u"Rubrique 1"_s
        << u"aside:c(Charger) m(GAGNE) #9(Sauver) out[http://x.fr/?a=1&b](web) rien"_s;
    QTest::newRow("lists nest and follow each other")
        << u"<ul><li>a<ol><li>b</li><li>c</li></ol></li><li>d</li></ul><ul><li>e</ul>"_s
        << u"Rubrique 1"_s << u"ul1+:a | ol2+:b | ol2:c | ul1:d | ul1+:e"_s;
    QTest::newRow("lists no deeper than four")
        << u"<ul><li>1<ul><li>2<ul><li>3<ul><li>4<ul><li>5<ul><li>6"_s << u"Rubrique 1"_s
        << u"ul1+:1 | ul2+:2 | ul3+:3 | ul4+:4 | ul4:5 | ul4:6"_s;
    QTest::newRow("table, with a table and a list inside a cell")
        << u"<table border=1><tr><th>A</th><th>B</th></tr><tr><td>1</td><td>2<table><tr><td>x"
           u"</td></tr></table> y<ul><li>z</ul></td></tr></table><p>après</p>"_s
        << u"Rubrique 1"_s << u"th+:A | th:B | td/:1 | td:2⏎x y⏎z | p:après"_s;
    QTest::newRow("a row too wide goes on below")
        << u"<table><tr>"_s + u"<td>c</td>"_s.repeated(10) << u"Rubrique 1"_s
        << u"td+:c | td:c | td:c | td:c | td:c | td:c | td:c | td:c | td/:c | td:c"_s;
    QTest::newRow("half-written style sheet ends the title")
        << u"<h1>Titre <link type=\"text/css\" href=/etc/passwd"_s << u"Titre"_s << u"h1:Titre"_s;
    QTest::newRow("half-written background ends the title")
        << u"<h1>Titre <table background=/dev/zero"_s << u"Titre"_s << u"h1:Titre"_s;
    QTest::newRow("half-written style ends the title")
        << u"<h1>Titre <p style=\"background-image:url(/dev/zero)\""_s << u"Titre"_s
        << u"h1:Titre"_s;
    QTest::newRow("pictures and unknown tags")
        << u"<p>Avant <img src=\"/x.png\"> <blink>après</blink><br/></p>"_s << u"Rubrique 1"_s
        << u"p:Avant après"_s;
    QTest::newRow("scripts, styles and comments")
        << u"<p>a<script>b<p>c</script>d<STYLE>p{}</STYLE><!-- e -->f<title>t</title></p>"_s
        << u"Rubrique 1"_s << u"p:adf"_s;
    QTest::newRow("references")
        << u"<p>&lt;b&gt; &amp;amp; &#233;&#xE9; &#0;x &bogus; &#xD800; &#1114112;</p>"_s
        << u"Rubrique 1"_s << u"p:<b> &amp; éé x &bogus; \uFFFD \uFFFD"_s;
    QTest::newRow("stray brackets")
        << u"<p>a < b <3 </ p></p>"_s << u"Rubrique 1"_s << u"p:a < b <3 </ p>"_s;
    QTest::newRow("long word may wrap")
        << u"<p>"_s + u"x"_s.repeated(100) + u" y"_s << u"Rubrique 1"_s
        << u"p:"_s + u"x"_s.repeated(40) + u"~"_s + u"x"_s.repeated(40) + u"~"_s +
               u"x"_s.repeated(20) + u" y"_s;
    QTest::newRow("line breaks, paragraphs in an item")
        << u"<p>a<br>b<br><br></p><ul><li><p>c</p><p>d</p></li></ul>"_s << u"Rubrique 1"_s
        << u"p:a⏎b | ul1+:c⏎d"_s;
    QTest::newRow("empty blocks vanish")
        << u"<h2>Sous</h2><h1> </h1><p></p><table><tr><td> </td><td>v</td></table><h1>Vrai</h1>"_s
        << u"Vrai"_s << u"h2:Sous | td+:v | h1:Vrai"_s;
}

void HelpFileTest::readsTopicsIntoTheModel() {
    QFETCH(QString, topic);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    const HelpFile help = HelpFile::parse(u"DOC.HLP"_s, u"<a name=\"sujet-1\"></a>"_s + topic);
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QCOMPARE(shape(*help.topic(1)), expected);
    QCOMPARE(help.topic(1)->title, title);
    QVERIFY(!help.topic(1)->cut);
}

void HelpFileTest::keepsTopicsWithinLimits_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<bool>("cut");

    QTest::newRow("text") << u"<p>"_s + u"mot "_s.repeated(5000) << true;
    QTest::newRow("one long word") << u"<p>"_s + u"x"_s.repeated(20000) << true;
    QTest::newRow("blocks") << u"<p>x</p>"_s.repeated(500) << true;
    QTest::newRow("headings") << u"<h1>x"_s.repeated(10000) << true;
    QTest::newRow("line breaks") << u"<p>"_s + u"x<br>"_s.repeated(500) << true;
    QTest::newRow("cells") << u"<table>"_s + u"<tr><td>x</td></tr>"_s.repeated(200) << true;
    QTest::newRow("looks") << u"<p>"_s + u"<b>x</b><i>y</i>"_s.repeated(1000) << true;
    QTest::newRow("nested quotes") << u"<blockquote>"_s.repeated(20000) + u"x"_s << false;
    QTest::newRow("nested tables") << u"<table><tr><td>"_s.repeated(2000) + u"x"_s << false;
    QTest::newRow("nested spans") << u"<span class=commande>"_s.repeated(2000) + u"x"_s << false;
    QTest::newRow("just within") << u"<p>x</p>"_s.repeated(help::kMaxTopicBlocks) << false;
}

void HelpFileTest::keepsTopicsWithinLimits() {
    QFETCH(QString, topic);
    QFETCH(bool, cut);
    const HelpFile help = HelpFile::parse(u"DOC.HLP"_s, u"<a name=\"sujet-1\"></a>"_s + topic +
                                                            u"<a name=\"sujet-2\"></a><p>Deux"_s);
    const help::HelpTopic *one = help.topic(1);
    QVERIFY(one);
    QCOMPARE(one->cut, cut);
    qsizetype text = 0;
    qsizetype spans = 0;
    qsizetype cells = 0;
    for (const help::HelpBlock &b : one->blocks) {
        cells += b.kind == help::HelpBlock::Kind::Cell;
        spans += b.spans.size();
        for (const help::HelpSpan &s : b.spans) {
            text += s.text.size() + s.text.count(u'\n');
        }
    }
    QVERIFY(text <= help::kMaxTopicText);
    QVERIFY(one->blocks.size() <= help::kMaxTopicBlocks);
    QVERIFY(spans <= help::kMaxTopicSpans);
    QVERIFY(cells <= help::kMaxTopicCells);
    // What comes after a cut topic is read as usual.
    QVERIFY(help.topic(2));
    QCOMPARE(help.topic(2)->plainText(), u"Deux\n"_s);
}

void HelpFileTest::internalLinks_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("context"); // 0: not an internal link

    QTest::newRow("topic") << u"#sujet-2"_s << 2;
    QTest::newRow("capitals") << u"#SUJET-14"_s << 14;
    QTest::newRow("web page") << u"http://exemple.fr/#sujet-2"_s << 0;
    QTest::newRow("no scheme, host") << u"//exemple.fr#sujet-2"_s << 0;
    QTest::newRow("local file") << u"file:///etc/passwd#sujet-2"_s << 0;
    QTest::newRow("other help file") << u"AUTRE.HLP#sujet-2"_s << 0;
    QTest::newRow("query") << u"?x=1#sujet-2"_s << 0;
    QTest::newRow("mail") << u"mailto:joueur@exemple.fr"_s << 0;
    QTest::newRow("script") << u"javascript:alert(1)"_s << 0;
    QTest::newRow("other anchor") << u"#regles"_s << 0;
    QTest::newRow("no number") << u"#sujet-"_s << 0;
    QTest::newRow("trailing text") << u"#sujet-2x"_s << 0;
    QTest::newRow("no hash") << u"sujet-2"_s << 0;
}

void HelpFileTest::internalLinks() {
    QFETCH(QString, link);
    QFETCH(int, context);
    const std::optional<int> found = contextOfLink(QUrl(link));
    if (context == 0) {
        QVERIFY2(!found, qPrintable(u"led to %1"_s.arg(found.value_or(0))));
    } else {
        QCOMPARE(found.value_or(0), context);
    }
}

// Reached through a handle on its folder, the help serves from a folder whose
// name is no valid text, or too deep for any path to name it.
void HelpFileTest::readsThroughItsFolder_data() {
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<int>("depth");
    QTest::newRow("Latin-1 folder") << QByteArray("caf\xe9") << 1;
    QTest::newRow("deeper than PATH_MAX") << QByteArray(255, 'd') << 20;
}

void HelpFileTest::readsThroughItsFolder() {
    QFETCH(QByteArray, step);
    QFETCH(int, depth);
    QFile source(shippedHelp());
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QTemporaryDir dir;
    std::vector<int> folders{::open(QFile::encodeName(dir.path()).constData(), O_RDONLY)};
    for (int d = 0; d < depth; ++d) {
        QCOMPARE(::mkdirat(folders.back(), step.constData(), 0700), 0);
        folders.push_back(::openat(folders.back(), step.constData(), O_RDONLY | O_DIRECTORY));
    }
    const int out = ::openat(folders.back(), "DOC.HLP", O_WRONLY | O_CREAT, 0600);
    QVERIFY(::write(out, bytes.constData(), size_t(bytes.size())) == bytes.size());
    ::close(out);
    const QString shown = QFile::decodeName(step) + u"/DOC.HLP"_s; // names no file
    const HelpFile help = HelpFile::read(shown, folders.back());
    ::unlinkat(folders.back(), "DOC.HLP", 0);
    for (int d = depth; d > 0; --d) { // no path reaches the deepest folders
        ::close(folders[size_t(d)]);
        ::unlinkat(folders[size_t(d) - 1], step.constData(), AT_REMOVEDIR);
    }
    ::close(folders[0]);
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QCOMPARE(help.path(), shown);
}

void HelpFileTest::shippedHelpOpensAtItsContents() {
    const HelpFile help = HelpFile::read(shippedHelp());
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QVERIFY(help.topic(1));
    QCOMPARE(help.topic(1)->title, u"Aide de Veltrano"_s);
    // A topic without its own heading would show up as "Rubrique N".
    for (int context : help.contexts()) {
        QVERIFY2(!help.topic(context)->title.startsWith(u"Rubrique "_s),
                 qPrintable(u"topic %1 has no title"_s.arg(context)));
    }
}

// Every link opens a topic of the file, every topic can be reached from the
// contents, and the file names nothing that the viewer would refuse to load.
void HelpFileTest::shippedHelpLinksLeadSomewhere() {
    const HelpFile help = HelpFile::read(shippedHelp());
    QVERIFY2(help.isValid(), qPrintable(help.error()));

    QFile file(shippedHelp());
    QVERIFY(file.open(QIODevice::ReadOnly));
    static const QRegularExpression outside(uR"(<\s*(img|link|script|object|iframe)\b|\bsrc\s*=)"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!outside.match(QString::fromUtf8(file.readAll())).hasMatch(),
             "the help names an outside resource");
    QSet<int> reached{1};
    QList<int> toVisit{1};
    while (!toVisit.isEmpty()) {
        const help::HelpTopic *topic = help.topic(toVisit.takeFirst());
        for (const int link : linksOf(*topic)) {
            QVERIFY2(
                link > 0 && help.topic(link),
                qPrintable(u"topic %1: link %2 leads nowhere"_s.arg(topic->context).arg(link)));
            if (!reached.contains(link)) {
                reached.insert(link);
                toVisit.append(link);
            }
        }
    }
    for (int context : help.contexts()) {
        QVERIFY2(reached.contains(context),
                 qPrintable(u"topic %1 can't be reached from the contents"_s.arg(context)));
    }
}

void HelpFileTest::shippedHelpCoversEveryCommand_data() {
    QTest::addColumn<QString>("words");

    // The commands, as their labels read.
    for (const QString &command :
         {u"Nouvelle Partie"_s, u"Reposer les billes"_s, u"Charger"_s, u"Sauver"_s, u"Scores"_s,
          u"Plateau"_s, u"Billes"_s, u"A propos"_s, u"Aide"_s, u"Quitter"_s}) {
        QTest::newRow(qPrintable(command)) << command;
    }
    // What the game shows and asks, word for word, so that the player can
    // find it in the help.
    for (const QString &text :
         {u"Traditionnel (33 billes)"_s, u"Mission Impossible (44 billes)"_s, u"VOUS AVEZ GAGNE"_s,
          u"PARTIE TERMINEE"_s, u"BRAVO !!!"_s, u"Désirez-vous quitter Veltrano"_s,
          u"Les billes sont reposées"_s, u"Aucune partie n'a été sauvegardée"_s,
          u"LES 10 MEILLEURS SCORES"_s}) {
        QTest::newRow(qPrintable(text)) << text;
    }
    // And the rest a player needs to know.
    for (const QString &word :
         {u"F1"_s, u"diagonale"_s, u"bac"_s, u"chrono"_s, u"main ouverte"_s,
          u"main qui tient une bille"_s, u"sens interdit"_s, u"VELTRANO.CFG"_s, u"GAME"_s,
          u"DOC.HLP"_s, u"15 caractères"_s, u"plus récent"_s}) {
        QTest::newRow(qPrintable(word)) << word;
    }
}

void HelpFileTest::shippedHelpCoversEveryCommand() {
    QFETCH(QString, words);
    const HelpFile help = HelpFile::read(shippedHelp());
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QString all;
    for (int context : help.contexts()) {
        all += help.topic(context)->plainText();
    }
    // Non-breaking spaces keep French punctuation in place; they read as spaces.
    all.replace(QChar(0x00A0), u' ');
    QVERIFY2(all.contains(words), qPrintable(words));
}

void HelpFileTest::gameDirectoryHoldsTheSameHelp() {
    QFile source(shippedHelp());
    QFile copy(QString::fromUtf8(VELTRANO_HELP_COPY));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QVERIFY2(copy.open(QIODevice::ReadOnly), "the build didn't put DOC.HLP beside the game");
    QVERIFY2(source.readAll() == copy.readAll(), "the game's copy of DOC.HLP is out of date");
}

QTEST_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
