// SPDX-License-Identifier: GPL-3.0-or-later
// How long the help takes, from the file on disk to a laid-out page, for the
// worst files we can build within the reader's limits. Each case writes a
// DOC.HLP of at most kMaxHelpFileSize bytes that repeats one hostile pattern,
// then reads it and lays out topic 1 at the window's width, as the viewer does.
//   cmake --build <dir> --target bench_help && <dir>/measurements/bench/bench_help
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include "HelpFile.h"
#include "HelpPage.h"

using namespace Qt::StringLiterals;

namespace {

// The file: topic 1's anchor, then the pattern as many times as fits.
QByteArray hostileFile(const QByteArray &opening, const QByteArray &pattern) {
    QByteArray bytes = "<a name=\"sujet-1\"></a><h1>Titre</h1>" + opening;
    const qsizetype room = help::kMaxHelpFileSize - bytes.size();
    bytes += pattern.repeated(room / pattern.size());
    return bytes;
}

struct Case {
    const char *name;
    QByteArray opening;
    QByteArray pattern;
};

const std::vector<Case> &cases() {
    static const std::vector<Case> all{
        {"headings", "", "<h1>"},
        {"short headings", "", "<h1>ab</h1>"},
        {"one long word", "<p>", "x"},
        {"nested quotes", "", "<blockquote>"},
        {"nested tables", "", "<table><tr><td>"},
        {"table cells", "<table>", "<tr><td>abcdefghijklmnop</td><td>abcdefghijkl</td></tr>"},
        {"one wide row", "<table><tr>", "<td>abcdefghijklmnopqrstuvwxyz</td>"},
        {"nested lists", "", "<ul><li>abc"},
        {"list items", "<ol>", "<li>abcdefghij klmnopqrstuvwxyz abcdefgh</li>"},
        {"alternate looks", "<p>", "<b>x</b><i>y</i>"},
        {"links", "<p>", "<a href=\"#sujet-2\">lien</a> "},
        {"outside links", "<p>", "<a href=\"http://exemple.fr/\">lien</a> "},
        {"unclosed spans", "<p>", "<span class=\"commande\">x"},
        {"references", "<p>", "&eacute;&#233;&#x1F600;&nbsp;"},
        {"line breaks", "<p>", "a<br>"},
        {"topics", "", "<a name=\"sujet-2\"></a><h1>T</h1><p>x</p>"},
        {"long attributes", "", "<p class=\"remarque remarque remarque remarque remarque\">"},
        {"comments", "", "<!-- x -->"},
        {"stray brackets", "<p>", "< < a"},
    };
    return all;
}

void run(benchmark::State &state, const Case &c, bool layOut) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"DOC.HLP"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(hostileFile(c.opening, c.pattern)) < 0) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    const QFont font = QApplication::font();
    for (auto _ : state) {
        const help::HelpFile help = help::HelpFile::read(path);
        const help::HelpTopic *topic = help.topic(1);
        if (!topic) {
            state.SkipWithError("no topic 1");
            return;
        }
        if (!layOut) {
            benchmark::DoNotOptimize(topic);
            continue;
        }
        QTextDocument document;
        help::prepareHelpDocument(&document, font);
        document.setHtml(help::helpPageHtml(*topic));
        document.setTextWidth(600);
        benchmark::DoNotOptimize(document.size());
    }
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    for (const Case &c : cases()) {
        benchmark::RegisterBenchmark(c.name, [&c](benchmark::State &s) {
            run(s, c, true);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string(c.name) + " (read only)").c_str(),
                                     [&c](benchmark::State &s) { run(s, c, false); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
