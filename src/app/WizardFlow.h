// The page order of both wizards, one table each, and the one place that
// makes a wizard page from its step. Next goes down a table to the next step
// the design takes, Back up to the previous one; pages ask for their
// neighbours through Session::NextPage / PreviousPage and never name them.
#pragma once

#include <optional>
#include <span>

#include "gui/PageId.h"

namespace vorlane {

class Session;
class WizardPage;

struct FlowStep {
  PageId step;
  // Whether the design goes through this step; nullptr: always.
  bool (*taken)(Session& session) = nullptr;
  // Back from a later step opens this page at its last entry instead of
  // entry 1 (the technology and ability walks).
  bool backLandsOnLastEntry = false;
};

// The table `step` belongs to.
std::span<const FlowStep> FlowOf(PageId step);

// The step Next or Back leads to from `step`, or nothing at the table's end.
std::optional<FlowStep> NextStep(PageId step, Session& session);
std::optional<FlowStep> PreviousStep(PageId step, Session& session);

// A fresh page of `step`, filled from the session's records.
WizardPage* CreateWizardPage(PageId step, Session& session);

}  // namespace vorlane
