// The settings the game remembers: marble look, board picture, board played
// at the next new game, and the ten best results.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

struct ScoreEntry {
    QString name;                  // at most 15 characters
    std::int16_t marblesLeft = 44; // 44 marks a free row
    QString duration;              // chrono text, at most 10 characters
};

struct SettingsRecordData {
    std::int16_t marbleTexture = 0;      // 1..7
    std::int16_t boardTexture = 0;       // 1..4
    std::int16_t boardKind = 0;          // 1 traditional, anything else the 45-hole board
    std::array<ScoreEntry, 11> scores{}; // ranks 1..10; slot 0 unused
};

// The one in-memory copy of the settings.
extern SettingsRecordData SettingsRecord;

void SetDefaultSettings();

// Every access is bracketed: Open, then Read and/or Write, then Close.
// For now the settings live in memory only; the file behind them comes with
// the persistence work, behind these same four calls.
void OpenSettings();
void ReadSettings();
void WriteSettings();
void CloseSettings();
