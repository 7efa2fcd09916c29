// SPDX-License-Identifier: GPL-3.0-or-later
// How long one click on the board takes, from the mouse press on the landing
// hole to the last picture painted: the click handler, the rules, the
// refresh of the hole and tray pictures, the counter, and the repaint of the
// whole window. Offscreen, so no window server is measured.
//
//   cmake --build <dir> --target bench_click && <dir>/measurements/bench/bench_click
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

#include "Main.h"
#include "PictureBox.h"
#include "Settings.h"
#include "Startup.h"

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

// Paints everything the last event asked for, then the whole window once
// more, so that painting is part of what is measured.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    Form1->repaint();
}

// A 45-hole game at its start, in a scratch directory.
class Board {
public:
    Board() : previous_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        SetDefaultSettings();
        createApplicationWindows();
        Form1->show();
        (void)QTest::qWaitForWindowExposed(Form1);
        QTimer::singleShot(0, [] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                QTest::mouseClick(modal->findChild<QPushButton *>(u"BitBtn2"_s), Qt::LeftButton);
            }
        });
        Form1->etat_jeuxClick();
        Form1->Timer1->stop(); // no chrono tick inside a measurement
        start_ = Form1->grille;
        startTray_ = Form1->nb_repos;
        settle();
    }
    ~Board() {
        delete Form1;
        Form1 = nullptr;
        QDir::setCurrent(previous_);
    }

    // Back to the start position, pictures and all.
    void reset() {
        Form1->grille = start_;
        Form1->nb_repos = startTray_;
        Form1->place_bille_plateau();
        Form1->jeux_repos(startTray_);
        Form1->affiche_score();
        settle();
    }

    PictureBox *hole(int n) const { return Form1->images_trous[n]; }

private:
    QString previous_;
    QTemporaryDir dir_;
    veltrano::Grille start_;
    int startTray_ = 0;
};

void report(benchmark::State &state, std::vector<double> &us) {
    if (us.empty()) {
        return;
    }
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["mean_us"] = std::accumulate(us.begin(), us.end(), 0.0) / us.size();
    state.counters["p90_us"] = us[us.size() * 9 / 10];
}

// The jump from hole 38 into the centre, with the marble already held.
void BM_JumpClick(benchmark::State &state) {
    Board board;
    std::vector<double> us;
    for (auto _ : state) {
        board.reset();
        QTest::mouseMove(board.hole(38));
        QTest::mouseClick(board.hole(38), Qt::LeftButton);
        QTest::mouseMove(board.hole(23));
        settle();
        if (!Form1->bille_prise) {
            state.SkipWithError("the marble was not picked up");
            break;
        }
        const auto begin = Clock::now();
        QTest::mouseClick(board.hole(23), Qt::LeftButton);
        settle();
        const std::chrono::duration<double> took = Clock::now() - begin;
        state.SetIterationTime(took.count());
        us.push_back(took.count() * 1e6);
        if (Form1->nb_repos != 1) {
            state.SkipWithError("the jump was not made");
            break;
        }
    }
    report(state, us);
}
BENCHMARK(BM_JumpClick)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// For comparison: the click that only picks the marble up.
void BM_PickUpClick(benchmark::State &state) {
    Board board;
    std::vector<double> us;
    QTest::mouseMove(board.hole(38));
    for (auto _ : state) {
        Form1->bille_prise = false;
        settle();
        const auto begin = Clock::now();
        QTest::mouseClick(board.hole(38), Qt::LeftButton);
        settle();
        const std::chrono::duration<double> took = Clock::now() - begin;
        state.SetIterationTime(took.count());
        us.push_back(took.count() * 1e6);
    }
    report(state, us);
}
BENCHMARK(BM_PickUpClick)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
