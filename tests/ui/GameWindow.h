// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window, built as the game builds it, in a scratch directory
// of its own, with helpers that drive it through mouse events the way a
// player does.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>

#include "BoardModel.h"

class QWidget;
class TForm1;

namespace uitest {

// The window tests play the tests' model of the board beside the window.
using namespace testmodel;

// Answers the modal windows the game opens, from inside their own event
// loop. Answers are queued in the order the windows are expected; a modal
// window nobody expects is rejected at once (so a test never hangs) and
// noted in unexpected().
class ModalAnswerer : public QObject {
public:
    using Answer = std::function<void(QWidget *modal)>;

    ModalAnswerer();
    void expect(Answer answer) { answers_.push_back(std::move(answer)); }
    int pending() const { return static_cast<int>(answers_.size()); }
    // Object names of the modal windows seen, in order; a window without a
    // name is given by its class.
    const QStringList &seen() const { return seen_; }
    const QStringList &unexpected() const { return unexpected_; }

private:
    void poll();

    QTimer timer_;
    std::deque<Answer> answers_;
    QStringList seen_;
    QStringList unexpected_;
    QPointer<QWidget> current_;
};

// Board dialog answers for GameWindow::startGame.
enum class BoardAnswer { Traditional, Full, CloseDialog };

class GameWindow {
public:
    GameWindow();
    ~GameWindow();
    GameWindow(const GameWindow &) = delete;
    GameWindow &operator=(const GameWindow &) = delete;

    TForm1 *operator->() const { return form_; }
    TForm1 *form() const { return form_; }
    QString directory() const { return dir_.path(); }
    ModalAnswerer &modals() { return modals_; }

    // "Nouvelle Partie" (or "Reposer les billes"), with the board dialog
    // answered as asked. Fails the running test if the dialog didn't show.
    void startGame(BoardAnswer answer);
    void putBack();

    // The pointer moves onto hole n, through the window system.
    void hover(int hole);
    // Left press and release on hole n.
    void click(int hole);
    int cursorOf(int hole) const;
    int plateauCursor() const;

    // What the game's board model says a hole holds.
    bool gameHolds(int hole) const;
    // The marbles the hole pictures show: filled boxes, and state 1.
    bool shows(int hole) const;
    int trayShown() const;            // places whose box shows a marble
    bool trayFilledUpTo(int n) const; // places 1..n shown, the rest empty
    int holeAssignments() const;
    int trayAssignments() const;

    // Playing a jump the way a player does: hover the marble, click it,
    // hover the landing, click it.
    void playJump(const Jump &jump);

private:
    QString previousDirectory_;
    QTemporaryDir dir_;
    ModalAnswerer modals_;
    TForm1 *form_ = nullptr;
};

// The picture the game is expected to show for board texture s, look t.
QImage sprite(int boardTexture, int marbleTexture);
// Board texture n as the resources hold it; a null image if there is none.
QImage boardTexture(int n);
bool samePicture(const QPixmap &a, const QImage &b);

} // namespace uitest

// Stops the running test function when a helper has already failed.
#define UITEST_CHECKED(statement)                                                                  \
    do {                                                                                           \
        statement;                                                                                 \
        if (QTest::currentTestFailed()) {                                                          \
            return;                                                                                \
        }                                                                                          \
    } while (false)
