// SPDX-License-Identifier: GPL-3.0-or-later
// The saved game: one record of 677 bytes in the file "GAME", holding the
// player's name, the chrono's caption, the number of marbles in the tray and
// the whole board model. There is only ever one; each save overwrites it.
#pragma once

#include <QString>
#include <array>
#include <cstddef>

#include "grille.h"

inline constexpr std::size_t kSavedGameSize = 677;
using SavedGameBytes = std::array<char, kSavedGameSize>;

// Where each field lies. Integers are 16-bit little-endian; texts are
// Windows-1252, ended by a zero byte inside their field.
namespace storage {
inline constexpr int kGameNameOffset = 0;
inline constexpr int kGameNameSize = 16;
inline constexpr int kGameChronoOffset = 16;
inline constexpr int kGameChronoSize = 11;
inline constexpr int kGameCountOffset = 27;
inline constexpr int kGameGridOffset = 29;
inline constexpr int kNoGameCount = -1; // the count of a file that holds no game

// Offset of the value for cell (c, l), direction d: column slowest, then row,
// then direction, as the board model itself is laid out.
constexpr int gameGridOffset(int c, int l, int d) {
    return kGameGridOffset + 72 * (c - 1) + 8 * (l - 1) + 2 * (d - 1);
}
} // namespace storage

// The one in-memory copy of the record, through which every read and write
// passes. It starts as all zero bytes.
extern SavedGameBytes SavedGameRecord;

// Every failed step has been reported to the player when these answer
// Failed or false; the command that called them stops there.
enum class SavedGameFile { Failed, NoGame, HoldsGame };

// Opens "GAME" in the start directory and reads its record. A file that
// cannot be opened is created marked as holding no game. A file too short
// to hold the record is reported and left exactly as it is.
SavedGameFile OpenSavedGame();
bool ReadSavedGame();
bool WriteSavedGame();
bool CloseSavedGame();

// A game as the record holds it, once decoded and checked.
struct SavedGame {
    QString name;   // at most 15 characters
    QString chrono; // the caption, such as "01:02:03" or "100:00:00"
    int nb_repos = 0;
    veltrano::Grille grille;
    int heures = 0, minutes = 0, secondes = 0;
};

// Fills SavedGameRecord with a game. A name longer than 15 characters or a
// caption longer than 10 is cut to fit before its zero byte.
void fillSavedGameRecord(const QString &name, const QString &chrono, int nb_repos,
                         const veltrano::Grille &grille);

// Decodes and checks a whole record. On success fills `game` and answers an
// empty text; otherwise answers the French message for the player and
// leaves `game` as it was.
QString decodeSavedGame(const SavedGameBytes &record, SavedGame &game);

// The chrono's three numbers, read at their places in the caption, or by its
// colons so that 100 hours and more come back too. On failure `bad` receives
// the two characters of the first place that holds no number.
bool parseChrono(const QString &caption, int &heures, int &minutes, int &secondes, QString &bad);
