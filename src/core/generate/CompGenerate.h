// Component generation: turns a component design into one entry per level or
// grid cell in the layout of the game's component data file. One object
// lives for the program run; it owns its evaluator and its field table.
#pragma once

#include <string>

#include "generate/GenerationModule.h"
#include "records/vrlComponent.h"

namespace vorlane {

class CompGenerate : public GenerationModule {
 public:
  // Slots of the component field table; slot 0 holds the level text.
  enum Slot {
    kLevel, kCompName, kNumberStyle, kCompDesc, kPicNum, kSize, kHP, kMinCost, kOrgCost, kRadCost,
    kVehicleType, kSupplyUse, kRestrictions, kGeneralGroup, kFamily, kRomanStyle, kCustomGroup,
    kWeaponType, kWeaponTarget, kWeaponDamageType, kWeaponReload, kWeaponDisplayType, kWeaponDisplayNum,
    kWeaponToHitMod, kWeaponSound, kWeaponFamily, kWeaponSeekerSpeed, kWeaponSeekerHP,
  };
  static constexpr int kSlotCount = kWeaponSeekerHP;

  CompGenerate();

  // Generates every entry of the design: the grid driver for a grid design,
  // else the plain one. Messages go to `sink` in order; `progress` may cancel.
  GenerationResult Generate(const vrlComponent& record, MessageSink& sink, const ProgressCallback& progress = {});
  // The two drivers on their own: one entry per level 1..NumCompLevels, or
  // one entry per grid cell in odometer order.
  GenerationResult GenerateComponents(const vrlComponent& record, MessageSink& sink,
                                      const ProgressCallback& progress = {});
  GenerationResult GenerateGridComponents(const vrlComponent& record, MessageSink& sink,
                                          const ProgressCallback& progress = {});

  // The building blocks the drivers use, for callers that make single
  // entries. Prepare does what a driver does before its first entry; the
  // record and the sink must stay alive until Release.
  void Prepare(const vrlComponent& record, MessageSink& sink);
  void Release();
  bool SubstituteComponentVariable(std::string& text, std::string& name) { return SubstituteVariable(text, name); }
  void LoadComponentFields() { LoadFields(); }
  bool ResolveComponentFields() { return ResolveFields(); }
  bool ComponentFieldsResolved() const { return FieldsResolved(); }
  void ResetComponentFieldStates() { ResetFieldStates(); }
  // Makes one entry for the level text and grid positions set beforehand and
  // appends it, followed by one further line end, to `entries`.
  bool WriteComponentEntry(std::string& entries, bool grid) { return WriteEntry(entries, grid); }

 protected:
  Shape ReadShape() const override;
  void LoadFields() override;
  void AppendEntry(std::string& out, bool grid) const override;

 private:
  template <typename Driver>
  GenerationResult Run(const vrlComponent& record, MessageSink& sink, Driver driver);

  const vrlComponent* record_ = nullptr;
};

}  // namespace vorlane
