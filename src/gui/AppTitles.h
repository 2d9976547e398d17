// Fixed titles of the program's windows and message boxes.
#pragma once

#include <QString>

namespace vorlane {

// Title of every message box unless the caller names another.
inline const QString kAppTitle = QStringLiteral("Vorlane");
// The main menu's title; page titles extend it.
inline const QString kProgramTitle = QStringLiteral("Vorlane v2.0");
inline const QString kComponentDesignTitle = kProgramTitle + QStringLiteral(" - Component Design");
inline const QString kFacilityDesignTitle = kProgramTitle + QStringLiteral(" - Facility Design");
inline const QString kVehicleDesignTitle = kProgramTitle + QStringLiteral(" - Vehicle Design");

}  // namespace vorlane
