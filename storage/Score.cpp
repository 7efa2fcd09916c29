// SPDX-License-Identifier: GPL-3.0-or-later
#include "Score.h"

#include <QKeyEvent>
#include <QLabel>
#include <optional>

#include "ButtonGlyph.h"
#include "LabelFit.h"
#include "Placement.h"
#include "Player.h"
#include "Settings.h"
#include "WindowDescription.h"
#include "rules.h"
#include "ui_Score.h"

using namespace Qt::StringLiterals;

Tmeilleur_score *meilleur_score = nullptr;

Tmeilleur_score::Tmeilleur_score(QWidget *parent)
    : LateDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(u"meilleur_score"_s);
}

Tmeilleur_score::~Tmeilleur_score() {
    delete ui_;
}

void Tmeilleur_score::createControls() {
    ui_ = new Ui::Score;
    ui_->setupUi(this);
    applyDescriptionFonts(this);
    squeezeToFit(ui_->Label2);
    setFixedSize(size());
    ui_->BitBtn1->setIcon(buttonGlyph(u":/pictures/ok.png"_s, devicePixelRatioF()));
    connect(ui_->BitBtn1, &QPushButton::clicked, this, &Tmeilleur_score::BitBtn1Click);
}

void Tmeilleur_score::showEvent(QShowEvent *event) {
    centreOnMainWindow(this);
    QDialog::showEvent(event);
    ui_->BitBtn1->setFocus();
}

bool Tmeilleur_score::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        // The error box of a failed read gives the activation back when it
        // closes; reading again then would only bring the same box back.
        if (returningFromFailure_) {
            returningFromFailure_ = false;
        } else {
            FormActivate();
        }
    }
    return QDialog::event(event);
}

// The button is the only control: Enter and Space press it, as they press
// a focused button everywhere in the game.
void Tmeilleur_score::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ui_->BitBtn1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The table shown is the one on disk at this moment, whoever wrote it.
void Tmeilleur_score::FormActivate() {
    OpenSettings();
    ReadSettings();
    returningFromFailure_ = !CloseSettings();
    QLabel *const names[] = {ui_->n1, ui_->n2, ui_->n3, ui_->n4, ui_->n5,
                             ui_->n6, ui_->n7, ui_->n8, ui_->n9, ui_->n10};
    QLabel *const marbles[] = {ui_->b1, ui_->b2, ui_->b3, ui_->b4, ui_->b5,
                               ui_->b6, ui_->b7, ui_->b8, ui_->b9, ui_->b10};
    QLabel *const durations[] = {ui_->d1, ui_->d2, ui_->d3, ui_->d4, ui_->d5,
                                 ui_->d6, ui_->d7, ui_->d8, ui_->d9, ui_->d10};
    for (int k = 1; k <= 10; ++k) {
        const ScoreEntry &row = SettingsRecord.scores[k];
        names[k - 1]->setText(row.name);
        marbles[k - 1]->setText(QString::number(row.marblesLeft));
        durations[k - 1]->setText(row.duration);
    }
}

void Tmeilleur_score::BitBtn1Click() {
    accept();
}

void InsertScore(int nb_repos, const QString &chrono, const std::function<void()> &askName) {
    // A table that can't be read can't be ranked against, and one that can't
    // be written back would take the name for nothing: the failure has been
    // told once, and the insertion stops there.
    OpenSettings();
    ReadSettings();
    const bool writable = SettingsWritable();
    if (!CloseSettings() || !writable) {
        return;
    }
    const int result = veltrano::kMarbleTotal - nb_repos;
    std::optional<ScoreEntry> row;
    if (ScoreRank(result) <= 10) {
        askName();
        row = ScoreEntry{playerName.left(kNameCapacity), static_cast<std::int16_t>(result),
                         chrono.left(kDurationCapacity)};
    }
    // The row enters the table as the file holds it once the name is in:
    // another copy of the game may have written meanwhile.
    OpenSettings();
    WriteSettingsWith(row ? &*row : nullptr);
    CloseSettings();
}
