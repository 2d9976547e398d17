// The record a design sheet edits, seen the same way for both kinds: its
// placed fields (from the sheet's table and the record's field table), reads
// and writes by field place, its lists, and the live entry's work, which is
// made from copies so that it can run on a worker thread.
#pragma once

#include <QByteArray>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/DesignFile.h"
#include "generate/LiveEntry.h"
#include "sheet/SheetTable.h"

namespace vorlane {

class Session;

// A plain field of the record as the sheet shows it.
struct SheetField {
  FieldPlace place;
  SheetGroup group;
  SheetControl control;
  std::string label;
};

// What the live entry shows: one entry, and on request what changed against
// the design as last saved.
struct LiveResult {
  LiveEntry entry;        // its text moved to entryText
  QByteArray entryText;   // the entry's text as the view takes it, made on the worker thread
  bool noSuchLevel = false;  // the design has no such level: no entry to show
  bool changesAsked = false;
  std::vector<std::string> changes;  // one line per change (EntryChange::Text)
  std::string changesNote;           // when there is nothing to list, why
};

using LiveJob = std::function<LiveResult(const std::atomic<bool>& cancel)>;

class SheetRecord {
 public:
  virtual ~SheetRecord() = default;

  virtual DesignKind Kind() const = 0;
  // Text fields, level count and grid flag, in the sheet's table order.
  virtual std::vector<SheetField> Fields() const = 0;
  virtual std::string Label(const FieldPlace& field) const = 0;

  virtual std::string Get(const FieldPlace& field) const = 0;
  virtual void Set(const FieldPlace& field, std::string value) = 0;
  virtual std::string Levels() const = 0;
  virtual void SetLevels(const std::string& digits) = 0;
  virtual bool Grid() const = 0;
  virtual void SetGrid(bool grid) = 0;

  // The lists: "TechReqs", "Abilities" (and "WeaponDamageAtRange", fixed).
  virtual std::string_view TechList() const = 0;
  virtual std::string_view AbilityList() const = 0;
  virtual std::vector<std::string> Columns(std::string_view list) const = 0;
  virtual int Count(std::string_view list) const = 0;
  // Adds an empty entry at the end; removes entry `entry`, the later ones
  // moving up.
  virtual void AddEntry(std::string_view list) = 0;
  virtual void RemoveEntry(std::string_view list, int entry) = 0;

  // The grid's size along each requirement (leading-number reading, whole
  // positions), 1..NumTechReqs as 0..n-1.
  virtual std::vector<int> GridSizes() const = 0;
  // The level count as a number.
  virtual int LevelCount() const = 0;

  // The live entry's work on copies of the record (and of the saved design
  // when `changes` is asked for), taken now.
  virtual LiveJob Job(const EntryPoint& point, bool changes) const = 0;
};

// The record of `kind` in `session`; `savedComponent` / `savedFacility` give
// the design as last saved, for the comparison (nothing: it has no file).
std::unique_ptr<SheetRecord> MakeSheetRecord(Session& session, DesignKind kind,
                                             std::function<std::optional<vrlComponent>()> savedComponent,
                                             std::function<std::optional<vrlFacility>()> savedFacility);

}  // namespace vorlane
