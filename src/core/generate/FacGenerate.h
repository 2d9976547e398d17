// Facility generation: the twin of CompGenerate for the facility record, with
// its smaller field table, its own words and the facility entry layout. One
// object lives for the program run; it owns its evaluator and field table.
#pragma once

#include <string>

#include "generate/GenerationModule.h"
#include "records/vrlFacility.h"

namespace vorlane {

class FacGenerate : public GenerationModule {
 public:
  // Slots of the facility field table; slot 0 holds the level text.
  enum Slot {
    kLevel, kFacName, kNumberStyle, kFacDesc, kPicNum, kMinCost, kOrgCost, kRadCost, kFacGroup, kFacFamily,
    kRomanStyle,
  };
  static constexpr int kSlotCount = kRomanStyle;

  FacGenerate();

  GenerationResult Generate(const vrlFacility& record, MessageSink& sink, const ProgressCallback& progress = {});
  GenerationResult GenerateFacilities(const vrlFacility& record, MessageSink& sink,
                                      const ProgressCallback& progress = {});
  GenerationResult GenerateGridFacilities(const vrlFacility& record, MessageSink& sink,
                                          const ProgressCallback& progress = {});

  // Building blocks, as on CompGenerate.
  void Prepare(const vrlFacility& record, MessageSink& sink);
  void Release();
  bool SubstituteFacilityVariable(std::string& text, std::string& name) { return SubstituteVariable(text, name); }
  void LoadFacilityFields() { LoadFields(); }
  bool ResolveFacilityFields() { return ResolveFields(); }
  bool FacilityFieldsResolved() const { return FieldsResolved(); }
  void ResetFacilityFieldStates() { ResetFieldStates(); }
  bool WriteFacilityEntry(std::string& entries, bool grid) { return WriteEntry(entries, grid); }

 protected:
  Shape ReadShape() const override;
  void LoadFields() override;
  void AppendEntry(std::string& out, bool grid) const override;

 private:
  template <typename Driver>
  GenerationResult Run(const vrlFacility& record, MessageSink& sink, Driver driver);

  const vrlFacility* record_ = nullptr;
};

}  // namespace vorlane
