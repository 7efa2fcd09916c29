// SPDX-License-Identifier: GPL-3.0-or-later
// The settings the game remembers: marble look, board picture, board played
// at the next new game, and the ten best results. They live in the one
// 368-byte record of "VELTRANO.CFG" in startDirectory.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

struct ScoreEntry {
    QString name;                  // at most 15 characters
    std::int16_t marblesLeft = 44; // 44 marks a free row
    QString duration;              // chrono text, at most 10 characters
};

// Until the file has been read, and whenever it can't be used at all, the
// game plays with the defaults.
struct SettingsRecordData {
    std::int16_t marbleTexture = 1;      // 1..7
    std::int16_t boardTexture = 1;       // 1..4
    std::int16_t boardKind = 1;          // 1 traditional, anything else the 45-hole board
    std::array<ScoreEntry, 11> scores{}; // ranks 1..10; slot 0 unused
};

// The one in-memory copy of the settings.
extern SettingsRecordData SettingsRecord;

inline constexpr std::size_t kSettingsRecordSize = 368;
inline constexpr int kNameCapacity = 15;
inline constexpr int kDurationCapacity = 10;

void SetDefaultSettings();

// Every access is bracketed: Open, then Read and/or Write, then Close; the
// file is never held open in between, and another copy of the game in the
// same folder waits for the bracket to end. A failure is reported to the
// player once, and the rest of the bracket then does nothing.
// CloseSettings says whether the whole bracket succeeded, for the callers
// that must not go on after a failure (the board choice stays open); a game
// whose folder could not be held at all plays on from memory.
// A file that can't be read is reported and left as it is; only an absent
// file, or one too short to hold the record, is given what memory holds:
// the defaults until a record has been read, the game's own afterwards.
void OpenSettings();
void ReadSettings();
// Whether the file just read may be written back; a file this copy may only
// read is told to the player here, before anything is asked for it.
bool SettingsWritable();
// Writes over the record as the file holds it now, which another copy may
// have changed since this one read it: only the looks and the board kind
// changed in memory since memory and file last agreed go over it, and
// `row`, when given, enters the table where it ranks in that record. A file
// that holds no record is given memory's. Memory then holds the table and
// board kind written, and keeps the looks this copy shows.
void WriteSettings();
void WriteSettingsWith(const ScoreEntry *row);
bool CloseSettings();

// The rank, 1..10, a result of that many marbles left would take in the
// table in memory; 11 when it doesn't enter.
int ScoreRank(int marblesLeft);

// The record's bytes, as the file holds them. Decoding never reads past a
// slot: a length byte beyond its slot's capacity reads as that capacity.
// Encoding zeroes the reserved bytes and carries the never-used slots 0 over
// from the last record decoded.
using SettingsBytes = std::array<unsigned char, kSettingsRecordSize>;
void decodeSettings(const SettingsBytes &bytes);
SettingsBytes encodeSettings();
