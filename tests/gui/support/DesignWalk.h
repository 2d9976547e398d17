// Drives a new design through the wizard pages like a user: from the main
// menu, typing into each page and pressing Next, up to the weapon
// information page (component) or the generate page (facility).
#pragma once

#include "support/TestApp.h"

namespace vorlane::test {

struct DesignWalk {
  struct Tech {
    QString area, level, gridSize, numberStyle;
  };
  struct Ability {
    QString type, desc, val1, val2;
  };

  QString name, desc, levels = "1";
  bool grid = false;
  QString numberStyle, romanStyle, family = "1", group = "Group", customGroup = "0", restrictions = "None";
  int vehicleBox = 0;  // component only
  int picture = 1;
  QList<Tech> techs;
  QString minCost, orgCost, radCost, size, hp = "1", supply;
  QList<Ability> abilities;

  // Walks a component design to frmCompWeaponInfo, a facility design to
  // frmFacGenerate; false when a page refused or a control is missing.
  bool Walk(TestApp& app, bool component) const;
  bool WalkComponent(TestApp& app) const { return Walk(app, true); }
  bool WalkFacility(TestApp& app) const { return Walk(app, false); }
};

// Presses Next on every page from the current one, typing nothing, until
// `lastPage` shows; each question is answered Yes. False when a page refused
// (showed a message) or the walk did not get there.
bool WalkUntouched(TestApp& app, const QString& lastPage);

// Presses Back until it is disabled (the start page) or refused, and returns
// the pages passed, each once however many entries it walked.
QStringList WalkBack(TestApp& app);

// The Overview's example as a user types it: Laser in three levels, no
// weapon; and the record that walk leaves behind.
DesignWalk LaserWalk();
vrlComponent LaserRecord();

// An entry line as generation writes it (LF line ends in the views).
inline QString EntryLine(const QString& key, const QString& value) { return key.leftJustified(42) + ":= " + value; }

// A file's bytes (empty when it cannot be read); writing a file, folders included.
QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& bytes);

}  // namespace vorlane::test
