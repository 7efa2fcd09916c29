// How the help file is cut into topics, which links count as internal, and
// whether the help that ships with the game is complete.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QtTest>

#include "HelpFile.h"

using namespace Qt::StringLiterals;
using platform::contextOfLink;
using platform::HelpFile;

namespace {

QString shippedHelp() {
    return QString::fromUtf8(VELTRANO_HELP_SOURCE);
}

QList<int> linksOf(const platform::HelpTopic &topic) {
    QList<int> links;
    for (const platform::HelpBlock &block : topic.blocks)
        for (const platform::HelpSpan &span : block.spans)
            if (span.link != 0)
                links.append(span.link);
    return links;
}

} // namespace

class HelpFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitsTopicsAtTheirAnchors();
    void titlesAreReadableText();
    void textThatIsNotHelp();
    void internalLinks_data();
    void internalLinks();
    void shippedHelpOpensAtItsContents();
    void shippedHelpLinksLeadSomewhere();
    void shippedHelpCoversEveryCommand_data();
    void shippedHelpCoversEveryCommand();
    void gameDirectoryHoldsTheSameHelp();
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
    if (context == 0)
        QVERIFY2(!found, qPrintable(u"led to %1"_s.arg(found.value_or(0))));
    else
        QCOMPARE(found.value_or(0), context);
}

void HelpFileTest::shippedHelpOpensAtItsContents() {
    const HelpFile help = HelpFile::read(shippedHelp());
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QVERIFY(help.topic(1));
    QCOMPARE(help.topic(1)->title, u"Aide de Veltrano"_s);
    // A topic without its own heading would show up as "Rubrique N".
    for (int context : help.contexts())
        QVERIFY2(!help.topic(context)->title.startsWith(u"Rubrique "_s),
                 qPrintable(u"topic %1 has no title"_s.arg(context)));
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
        const platform::HelpTopic *topic = help.topic(toVisit.takeFirst());
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
    for (int context : help.contexts())
        QVERIFY2(reached.contains(context),
                 qPrintable(u"topic %1 can't be reached from the contents"_s.arg(context)));
}

void HelpFileTest::shippedHelpCoversEveryCommand_data() {
    QTest::addColumn<QString>("words");

    // The commands, as their labels read.
    for (const QString &command :
         {u"Nouvelle Partie"_s, u"Reposer les billes"_s, u"Charger"_s, u"Sauver"_s, u"Scores"_s,
          u"Plateau"_s, u"Billes"_s, u"A propos"_s, u"Aide"_s, u"Quitter"_s})
        QTest::newRow(qPrintable(command)) << command;
    // What the game shows and asks, word for word, so that the player can
    // find it in the help.
    for (const QString &text :
         {u"Traditionnel (33 billes)"_s, u"Mission Impossible (44 billes)"_s, u"VOUS AVEZ GAGNE"_s,
          u"PARTIE TERMINEE"_s, u"BRAVO !!!"_s, u"Désirez-vous quitter Veltrano"_s,
          u"Les billes sont reposées"_s, u"Aucune partie n'a été sauvegardée"_s,
          u"LES 10 MEILLEURS SCORES"_s})
        QTest::newRow(qPrintable(text)) << text;
    // And the rest a player needs to know.
    for (const QString &word :
         {u"F1"_s, u"diagonale"_s, u"bac"_s, u"chrono"_s, u"main ouverte"_s,
          u"main qui tient une bille"_s, u"sens interdit"_s, u"VELTRANO.CFG"_s, u"GAME"_s,
          u"DOC.HLP"_s, u"15 caractères"_s, u"plus récent"_s})
        QTest::newRow(qPrintable(word)) << word;
}

void HelpFileTest::shippedHelpCoversEveryCommand() {
    QFETCH(QString, words);
    const HelpFile help = HelpFile::read(shippedHelp());
    QVERIFY2(help.isValid(), qPrintable(help.error()));
    QString all;
    for (int context : help.contexts())
        all += help.topic(context)->plainText();
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
