// What one change did to a design: the first field it touched, whether it
// touched more than one, and whether it added or removed list entries. The
// undo history names its steps by it ("Minerals Cost", "Add Ability") and
// merges typing into one field into one step.
#pragma once

#include <string>

#include "generate/GenerationFault.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

struct DesignChange {
  enum class Kind { None, Field, Added, Removed };
  Kind kind = Kind::None;
  // The first field that differs (Field), or the list whose entry count
  // changed, with the first entry added or removed (Added, Removed).
  FieldPlace field;
  // More than one field or entry changed.
  bool several = false;
  // The entries added or removed (Added, Removed).
  int entries = 0;

  // The step's name as the Edit menu shows it after "Undo ": the field's
  // caption ("Minerals Cost", "Ability 2 – Value 1"), or "Add Technology
  // Requirement", "Remove Abilities"; empty for no change.
  std::string Name() const;
  // One field changed, which typing into it may change further.
  bool SingleField() const { return kind == Kind::Field && !several; }
  // `next`, found after this change, goes on typing where this one typed:
  // the same single field, or a field of the one entry this change added
  // (typing into a new entry of a wizard page adds it).
  bool ContinuedBy(const DesignChange& next) const;
};

DesignChange FindChange(const vrlComponent& before, const vrlComponent& after);
DesignChange FindChange(const vrlFacility& before, const vrlFacility& after);

}  // namespace vorlane
