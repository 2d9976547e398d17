// One entry of a design, or the values of some fields across the levels,
// made by the generation module itself (the same code path as a full
// generation), for the design sheet's live entry and curves. Each call works
// on its own copy of the record and its own module, so it may run on any
// thread; a set cancel flag stops it between levels.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "generate/GenerationFault.h"
#include "generate/GenerationModule.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

// Which entry: a level of a plain design, or a cell of a grid design
// (positions 1..size along each requirement).
struct EntryPoint {
  int level = 1;
  std::vector<std::int32_t> cell;
};

struct ShownMessage {
  std::string title;
  std::string text;
};

struct LiveEntry {
  GenerationStatus status = GenerationStatus::Failed;
  std::string text;                       // the entry exactly as generation writes it
  std::optional<GenerationFault> fault;   // set when it failed
  std::vector<ShownMessage> messages;     // what a generation would have shown, in order
  std::vector<GenerationWarning> warnings;  // groups written as 0 or with a name nobody assigns
};

LiveEntry MakeEntry(const vrlComponent& record, const EntryPoint& point, const std::atomic<bool>* cancel = nullptr);
LiveEntry MakeEntry(const vrlFacility& record, const EntryPoint& point, const std::atomic<bool>* cancel = nullptr);

// The last entry made for a design being edited, kept so that the next entry
// at the same place, after a change to a few fields, renews only what the
// change touches (GenerationModule::RenewFields) and gives exactly what
// MakeEntry gives. One thread at a time may use a memo.
class LiveEntryMemo {
 public:
  LiveEntryMemo();
  ~LiveEntryMemo();
  LiveEntryMemo(const LiveEntryMemo&) = delete;
  LiveEntryMemo& operator=(const LiveEntryMemo&) = delete;

  // Entries made by renewal, and in full, since the memo was made.
  int Renewed() const { return renewed_; }
  int MadeInFull() const { return madeInFull_; }

 private:
  template <typename Generate, typename Record>
  friend LiveEntry KeptEntry(const Record& record, const EntryPoint& point, LiveEntryMemo& memo,
                             const std::atomic<bool>* cancel);
  struct Kept;
  std::unique_ptr<Kept> kept_;
  int renewed_ = 0;
  int madeInFull_ = 0;
};

LiveEntry MakeEntry(const vrlComponent& record, const EntryPoint& point, LiveEntryMemo& memo,
                    const std::atomic<bool>* cancel = nullptr);
LiveEntry MakeEntry(const vrlFacility& record, const EntryPoint& point, LiveEntryMemo& memo,
                    const std::atomic<bool>* cancel = nullptr);

// The levels a curve runs over: every level of a plain design, or the
// positions along one requirement of a grid with the others held.
struct SeriesAxis {
  int requirement = 0;               // grid: the requirement that varies, 1..NumTechReqs
  std::vector<std::int32_t> held;    // grid: positions of every requirement (the varying one ignored)
};

struct Series {
  FieldPlace field;
  std::string label;
  std::vector<double> values;  // one per point; NaN where the field is no number
};

struct SeriesResult {
  GenerationStatus status = GenerationStatus::Failed;
  std::vector<std::string> points;  // the level text of each point
  std::vector<Series> series;
  std::optional<GenerationFault> fault;
};

SeriesResult MakeSeries(const vrlComponent& record, std::span<const FieldPlace> fields, const SeriesAxis& axis,
                        const std::atomic<bool>* cancel = nullptr);
SeriesResult MakeSeries(const vrlFacility& record, std::span<const FieldPlace> fields, const SeriesAxis& axis,
                        const std::atomic<bool>* cancel = nullptr);

// The fields a curve can show, in page order: every text field, requirement
// and ability part and damage range the design has.
std::vector<FieldPlace> CurveFields(const vrlComponent& record);
std::vector<FieldPlace> CurveFields(const vrlFacility& record);

// A field's name as the page shows it.
std::string FieldLabel(const vrlComponent& record, const FieldPlace& field);
std::string FieldLabel(const vrlFacility& record, const FieldPlace& field);

// The level text of a grid cell: its number in the order generation makes
// the cells (the last requirement moving fastest); 0 when the cell lies
// outside the grid.
int GridCellNumber(std::span<const double> sizes, std::span<const std::int32_t> cell);

}  // namespace vorlane
