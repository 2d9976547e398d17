// The results window's Apply to Mod: writes the shown entries into the mod's
// Data/Components.txt or Data/Facility.txt (asking first to copy the game's
// file into a mod that has none), after showing what will change and the
// game check of the result. The design record remembers the names written.
#pragma once

#include <QString>

class QWidget;

namespace vorlane {

class Session;

// Lines of the change list shown in the question at most; the rest are counted.
inline constexpr int kMaxApplyLinesShown = 30;

// True when the file was written.
bool ApplyResultsToMod(QWidget* parent, Session& session, const QString& resultKind, const QString& entries);

}  // namespace vorlane
