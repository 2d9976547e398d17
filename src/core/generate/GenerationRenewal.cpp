// Kept entries and their renewal. A kept entry holds its resolved table,
// with the pass in which each field finished and the fields whose variables
// named it, its warnings with where they were met, and its requirement and
// ability lines. A field that neither changed nor names a changed field
// (directly or through others) steps exactly as before. The renewal steps
// the others alone, pass by pass, seeing each unchanged field finished from
// the step at which it finished, and merges the warnings by pass and step
// order: what a full generation does, step for step, for a fraction of the
// work.
#include <algorithm>

#include "generate/GenerationModule.h"

namespace vorlane {

namespace {

constexpr std::string_view kErrorTitle = "Error";
constexpr std::string_view kCrLf = "\r\n";

}  // namespace

void GenerationModule::KeepResolved() {
  KeepListLines();
  kept_.warnings = warnings_;
  kept_.stamps = warningStamps_;
  kept_.finishedIn.fill(0);
  ForEachNeededField([&](const FormulaField& field, std::string_view, int) {
    ++kept_.finishedIn[field.donePass];
    return true;
  });
  // Every stepped field must have finished (a slot the design does not need
  // may not have), and every warning must be kept, for a renewal to know
  // what each field did.
  bool finished = std::all_of(slots_.begin() + 1, slots_.end(),
                              [](const FormulaField& slot) { return slot.state.BracesDone; });
  kept_.renewable = finished && warningCount_ == warnings_.size();
}

void GenerationModule::KeepListLines() {
  std::string& lines = kept_.lines;
  lines.clear();
  kept_.techAt.assign(tech_.size() + 1, 0);
  kept_.abilAt.assign(abil_.size() + 1, 0);
  AppendLine(lines, "Number of Tech Req", std::to_string(shape_.numTechReqs));
  for (std::size_t n = 1; n < tech_.size(); ++n) {
    kept_.techAt[n] = lines.size();
    AppendTechLines(lines, n);
  }
  kept_.techAt[tech_.size()] = lines.size();
  AppendLine(lines, "Number of Abilities", std::to_string(shape_.numAbils));
  for (std::size_t n = 1; n < abil_.size(); ++n) {
    kept_.abilAt[n] = lines.size();
    AppendAbilityLines(lines, n);
  }
  kept_.abilAt[abil_.size()] = lines.size();
}

void GenerationModule::RenewListLines(const std::vector<std::size_t>& techRows,
                                      const std::vector<std::size_t>& abilRows) {
  if (techRows.empty() && abilRows.empty()) return;
  const std::string& old = kept_.lines;
  std::string lines;
  lines.reserve(old.size() + 4096);
  std::size_t copied = 0;  // of the old lines
  std::ptrdiff_t shift = 0;
  // Each renewed row's lines (rows ascending) replace its old ones; every
  // later start moves by what the lines before it grew. `at` holds the
  // list's row starts 1.. and where its lines end.
  auto renew = [&](std::vector<std::size_t>& at, const std::vector<std::size_t>& rows, auto append) {
    std::size_t next = 0;
    for (std::size_t n = 1; n < at.size(); ++n) {
      const std::size_t start = at[n];
      at[n] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(start) + shift);
      if (n + 1 < at.size() && next < rows.size() && rows[next] == n) {
        ++next;
        const std::size_t end = at[n + 1];
        lines.append(old, copied, start - copied);
        const std::size_t made = lines.size();
        append(lines, n);
        copied = end;
        shift += static_cast<std::ptrdiff_t>(lines.size() - made) - static_cast<std::ptrdiff_t>(end - start);
      }
    }
  };
  renew(kept_.techAt, techRows, [this](std::string& out, std::size_t n) { AppendTechLines(out, n); });
  renew(kept_.abilAt, abilRows, [this](std::string& out, std::size_t n) { AppendAbilityLines(out, n); });
  lines.append(old, copied, std::string::npos);
  kept_.lines = std::move(lines);
}

GenerationModule::StepPlace GenerationModule::PlaceAt(int order) {
  static constexpr std::string_view kTechNames[] = {"TechReqArea", "TechReqLevel", "TechReqGridSize"};
  static constexpr std::string_view kAbilityNames[] = {"AbilName", "AbilDesc", "AbilVal1", "AbilVal2"};
  auto o = static_cast<std::size_t>(order);
  if (o < slots_.size()) {
    const bool needed = words_.slotNeeds[o] != Needs::Weapon || shape_.weapon;
    return {&slots_[o], words_.slotNames[o], 0, needed, FieldPart::Slot};
  }
  o -= slots_.size();
  if (o < 4 * (tech_.size() - 1)) {
    TechFields& req = tech_[o / 4 + 1];
    FormulaField* columns[] = {&req.area, &req.level, &req.gridSize, &req.numberStyle};
    const std::string_view name = o % 4 < 3 ? kTechNames[o % 4] : words_.techNumberStyleName;
    return {columns[o % 4], name, static_cast<int>(o / 4 + 1), true, FieldPart::Tech};
  }
  o -= 4 * (tech_.size() - 1);
  if (o < 4 * (abil_.size() - 1)) {
    AbilityFields& ability = abil_[o / 4 + 1];
    FormulaField* columns[] = {&ability.type, &ability.descr, &ability.val1, &ability.val2};
    return {columns[o % 4], kAbilityNames[o % 4], static_cast<int>(o / 4 + 1), true, FieldPart::Ability};
  }
  o -= 4 * (abil_.size() - 1);
  return {&damage_.at(o), "WeaponDamageAtRange", static_cast<int>(o + 1), true, FieldPart::Damage};
}

GenerationModule::Renewal GenerationModule::RenewFields(const std::vector<FieldChange>& changes, std::string& out) {
  if (!keep_ || !kept_.renewable || changes.size() > kMaxRenewedFields) return Renewal::Impossible;
  // The changed fields that an entry steps, and every field that names one
  // of them, directly or through others: those are stepped anew.
  std::vector<int> orders;
  for (const FieldChange& change : changes) {
    const auto n = static_cast<std::size_t>(change.entry);
    switch (change.part) {
      case FieldPart::Slot: orders.push_back(change.entry); break;
      case FieldPart::Tech:
        // Outside a grid the grid columns are neither read nor written; a
        // grid size changes the grid itself.
        if (change.column >= 2 && !shape_.grid) break;
        if (change.column == 2) return Renewal::Impossible;
        orders.push_back(TechOrder(n, change.column));
        break;
      case FieldPart::Ability: orders.push_back(AbilityOrder(n, change.column)); break;
      case FieldPart::Damage:
        if (words_.damageFamily && shape_.weapon) orders.push_back(DamageOrder(n));
        break;
    }
  }
  std::sort(orders.begin(), orders.end());
  orders.erase(std::unique(orders.begin(), orders.end()), orders.end());
  for (std::size_t next = 0; next < orders.size(); ++next) {
    for (const int reader : PlaceAt(orders[next]).field->readers) {
      if (std::find(orders.begin(), orders.end(), reader) != orders.end()) continue;
      if (orders.size() == kMaxRenewedFields) return Renewal::Impossible;
      orders.push_back(reader);
    }
  }

  struct Renewed {
    StepPlace place;
    FormulaField* field;
    FormulaField before;
    int order;
  };
  std::vector<Renewed> renewed;
  std::vector<std::size_t> techRows, abilRows;
  for (const int order : orders) {
    const StepPlace place = PlaceAt(order);
    renewed.push_back({place, place.field, {}, order});
    const auto row = static_cast<std::size_t>(place.entry);
    if (place.part == FieldPart::Tech && order < TechOrder(row, 2)) techRows.push_back(row);
    if (place.part == FieldPart::Ability) abilRows.push_back(row);
  }
  std::sort(renewed.begin(), renewed.end(), [](const Renewed& a, const Renewed& b) { return a.order < b.order; });
  for (Renewed& r : renewed) {
    r.before = *r.field;
    *r.field = FormulaField{StoredText(PlaceOf(r.place.name, r.place.entry)), {}, {}, nullptr, 0, {}, true};
  }
  auto rollBack = [&] {
    for (Renewed& r : renewed) *r.field = std::move(r.before);
  };

  fault_.reset();
  stepReason_.clear();
  warnings_.clear();
  warningStamps_.clear();
  warningCount_ = 0;
  renewing_ = true;
  bool failed = false;
  bool finished = false;
  for (int pass = 1; pass <= kMaxPasses && !failed && !finished; ++pass) {
    passes_ = pass;
    finished = true;
    for (Renewed& r : renewed) {
      const bool wasFinished = r.field->state.BracesDone;
      stepOrder_ = r.order;
      if (!StepField(*r.field, r.place.name, r.place.entry) ||
          (r.place.part == FieldPart::Damage && r.field->state.BracesDone && !wasFinished &&
           !FinishDamage(*r.field, r.place.entry))) {
        failed = true;
        break;
      }
      finished = finished && r.field->state.BracesDone;
    }
  }
  renewing_ = false;

  // The kept warnings of the fields not renewed, and the renewal's, in the
  // order a generation meets them; after a failure, those met before it.
  const Stamp failedAt{passes_, stepOrder_};
  auto mergedWarnings = [&] {
    std::vector<GenerationWarning> warnings;
    std::vector<Stamp> stamps;
    std::size_t k = 0;
    std::size_t w = 0;
    auto renewedAt = [&](int order) {
      return std::any_of(renewed.begin(), renewed.end(), [order](const Renewed& r) { return r.order == order; });
    };
    while (k < kept_.warnings.size() || w < warnings_.size()) {
      const bool takeKept =
          k < kept_.warnings.size() && (w >= warnings_.size() || kept_.stamps[k] < warningStamps_[w]);
      if (takeKept) {
        if (!renewedAt(kept_.stamps[k].order) && (!failed || kept_.stamps[k] < failedAt)) {
          warnings.push_back(kept_.warnings[k]);
          stamps.push_back(kept_.stamps[k]);
        }
        ++k;
      } else {
        warnings.push_back(warnings_[w]);
        stamps.push_back(warningStamps_[w]);
        ++w;
      }
    }
    warningCount_ = warnings.size();
    if (warnings.size() > kMaxWarnings) {
      warnings.resize(kMaxWarnings);
      stamps.resize(kMaxWarnings);
    }
    warnings_ = std::move(warnings);
    warningStamps_ = std::move(stamps);
  };

  auto giveUp = [&] {
    warnings_ = kept_.warnings;
    warningStamps_ = kept_.stamps;
    warningCount_ = warnings_.size();
    rollBack();
    return Renewal::Impossible;
  };
  // Warnings beyond those kept cannot be merged in order.
  if (warningCount_ != warnings_.size()) return giveUp();
  if (failed) {
    mergedWarnings();
    Show(kErrorTitle, "Error during parsing.");
    rollBack();
    return Renewal::Failed;
  }
  // A generation ends with the pass that finishes the last field the entry
  // needs; a renewed field it would not have finished by then, or any other
  // field stepped but not needed, cannot be renewed.
  std::array<int, kMaxPasses + 1> finishedIn = kept_.finishedIn;
  for (const Renewed& r : renewed) {
    if (!r.place.needed) continue;
    --finishedIn[r.before.donePass];
    ++finishedIn[r.field->donePass];
  }
  int lastPass = kMaxPasses;
  while (lastPass > 0 && finishedIn[static_cast<std::size_t>(lastPass)] == 0) --lastPass;
  bool unneededLate = false;
  for (std::size_t s = 1; s < slots_.size(); ++s) {
    const bool needed = words_.slotNeeds[s] != Needs::Weapon || shape_.weapon;
    if (!needed && slots_[s].donePass > lastPass) unneededLate = true;
  }
  if (!finished || unneededLate) return giveUp();
  passes_ = lastPass;
  mergedWarnings();
  kept_.warnings = warnings_;
  kept_.stamps = warningStamps_;
  kept_.finishedIn = finishedIn;
  kept_.renewable = warningCount_ == warnings_.size();
  for (Renewed& r : renewed) r.field->renewed = false;
  std::sort(techRows.begin(), techRows.end());
  techRows.erase(std::unique(techRows.begin(), techRows.end()), techRows.end());
  std::sort(abilRows.begin(), abilRows.end());
  abilRows.erase(std::unique(abilRows.begin(), abilRows.end()), abilRows.end());
  RenewListLines(techRows, abilRows);
  AppendEntry(out, shape_.grid);
  out += kCrLf;
  return Renewal::Written;
}

}  // namespace vorlane
