#include "Settings.h"

SettingsRecordData SettingsRecord;

namespace {
bool loaded = false;
}

void SetDefaultSettings() {
    SettingsRecord.marbleTexture = 1;
    SettingsRecord.boardTexture = 1;
    SettingsRecord.boardKind = 1;
    for (int rank = 1; rank <= 10; ++rank) {
        SettingsRecord.scores[rank] = ScoreEntry{};
    }
}

void OpenSettings() {
    if (!loaded) {
        SetDefaultSettings();
        loaded = true;
    }
}

void ReadSettings() {}

void WriteSettings() {}

void CloseSettings() {}
