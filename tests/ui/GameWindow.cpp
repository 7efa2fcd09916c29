// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "Cursors.h"
#include "Main.h"
#include "PictureBox.h"
#include "Settings.h"
#include "Startup.h"
#include "grille.h"

using namespace Qt::StringLiterals;

namespace uitest {

ModalAnswerer::ModalAnswerer() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start();
}

void ModalAnswerer::poll() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == current_) {
        return;
    }
    current_ = modal;
    const QString name = modal->objectName().isEmpty()
                             ? QString::fromLatin1(modal->metaObject()->className())
                             : modal->objectName();
    seen_ << name;
    if (!answers_.empty()) {
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        answer(modal);
    } else {
        unexpected_ << name;
    }
    // Whatever the answer did, the window must not stay up: a test that
    // forgot it would otherwise wait forever.
    if (current_ && current_->isVisible()) {
        if (auto *dialog = qobject_cast<QDialog *>(current_.data())) {
            dialog->reject();
        } else {
            current_->close();
        }
    }
    current_ = nullptr;
}

GameWindow::GameWindow() : previousDirectory_(QDir::currentPath()) {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir::setCurrent(dir_.path()));
    // Every window starts from the settings a first start gives.
    SetDefaultSettings();
    createApplicationWindows();
    form_ = Form1;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

GameWindow::~GameWindow() {
    delete form_; // the dialogs are its children
    Form1 = nullptr;
    QDir::setCurrent(previousDirectory_);
}

void GameWindow::startGame(BoardAnswer answer) {
    const int before = static_cast<int>(modals_.seen().size());
    modals_.expect([answer](QWidget *modal) {
        QCOMPARE(modal->objectName(), u"mode"_s);
        if (answer == BoardAnswer::CloseDialog) {
            modal->close();
            return;
        }
        auto *button = modal->findChild<QPushButton *>(
            answer == BoardAnswer::Traditional ? u"BitBtn1"_s : u"BitBtn2"_s);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    });
    QVERIFY(form_->au_repos);
    form_->etat_jeuxClick();
    QCOMPARE(modals_.pending(), 0);
    QCOMPARE(modals_.seen().size(), before + 1);
    QVERIFY(!form_->au_repos);
}

void GameWindow::putBack() {
    QVERIFY(!form_->au_repos);
    const int before = static_cast<int>(modals_.seen().size());
    form_->etat_jeuxClick();
    QCOMPARE(modals_.seen().size(), before); // nothing is asked
    QVERIFY(form_->au_repos);
}

void GameWindow::hover(int hole) {
    PictureBox *box = form_->images_trous[hole];
    // Two points inside the box, so that the pointer really moves even if it
    // already stood over this hole.
    QTest::mouseMove(box, QPoint(3, 3));
    QTest::mouseMove(box, box->rect().center());
}

void GameWindow::click(int hole) {
    QTest::mouseClick(form_->images_trous[hole], Qt::LeftButton);
}

int GameWindow::cursorOf(int hole) const {
    return cursorNumber(form_->images_trous[hole]);
}

int GameWindow::plateauCursor() const {
    return cursorNumber(form_->plateau);
}

bool GameWindow::gameHolds(int hole) const {
    const GridCell c = cellOfHole(hole);
    bool anyOpen = false;
    for (int d = 1; d <= 4; ++d) {
        const veltrano::Value v = form_->grille.get(c.x, c.y, d);
        if (v == veltrano::trou_vide) {
            return false;
        }
        anyOpen = anyOpen || v != veltrano::saut_interdit;
    }
    return anyOpen;
}

bool GameWindow::shows(int hole) const {
    return form_->images_trous[hole]->hasPicture() && form_->etat_affiche_trous[hole] == 1;
}

int GameWindow::trayShown() const {
    int count = 0;
    for (int i = 1; i <= 44; ++i) {
        count += form_->images_bac[i]->hasPicture() ? 1 : 0;
    }
    return count;
}

bool GameWindow::trayFilledUpTo(int n) const {
    for (int i = 1; i <= 44; ++i) {
        const bool full = i <= n;
        if (form_->images_bac[i]->hasPicture() != full ||
            form_->etat_affiche_bac[i] != (full ? 1 : 0)) {
            qWarning("tray place %d should be %s", i, full ? "full" : "empty");
            return false;
        }
    }
    return true;
}

int GameWindow::holeAssignments() const {
    int sum = 0;
    for (int n = 1; n <= 45; ++n) {
        sum += form_->images_trous[n]->assignments();
    }
    return sum;
}

int GameWindow::trayAssignments() const {
    int sum = 0;
    for (int i = 1; i <= 44; ++i) {
        sum += form_->images_bac[i]->assignments();
    }
    return sum;
}

void GameWindow::playJump(const Jump &jump) {
    hover(jump.from);
    QCOMPARE(cursorOf(jump.from), crMain);
    click(jump.from);
    QVERIFY(form_->bille_prise);
    hover(jump.to);
    QCOMPARE(cursorOf(jump.to), crDeplace);
    const int trayBefore = form_->nb_repos;
    click(jump.to);
    QVERIFY(!form_->bille_prise);
    QCOMPARE(form_->nb_repos, trayBefore + 1);
}

namespace {

// Whatever a picture's file format, it is named after its numbers.
QImage resourcePicture(const QString &stem) {
    const QStringList found = QDir(u":/pictures"_s).entryList({stem + u".*"_s}, QDir::Files);
    return found.isEmpty() ? QImage() : QImage(u":/pictures/"_s + found.first());
}

} // namespace

QImage sprite(int boardTexture, int marbleTexture) {
    return resourcePicture(u"bille%1%2"_s.arg(boardTexture).arg(marbleTexture));
}

QImage boardTexture(int n) {
    return resourcePicture(u"plateau%1"_s.arg(n));
}

bool samePicture(const QPixmap &a, const QImage &b) {
    return !a.isNull() && !b.isNull() &&
           a.toImage().convertToFormat(QImage::Format_ARGB32) ==
               b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace uitest
