// Help where a formula is typed. AttachFormulaHelp gives a formula box:
//   F1          the formula reference (gui/FormulaReference.h) for this box;
//   completion  after "&" the design's variables, after letters inside braces
//               the evaluator's functions, offered in a small list under the
//               box; Ctrl+Space offers them where nothing was typed yet.
//               A name typed in full closes the list, though longer names
//               begin with it.
// The text changes only when the user picks an entry (Enter, Tab or a click);
// typing on, Escape or leaving the box leaves it as typed.
#pragma once

#include <QString>
#include <functional>

#include "generate/FormulaCatalogue.h"

class QLineEdit;
class QWidget;

namespace vorlane {

class HostedPage;

using CatalogueSource = std::function<FormulaCatalogue()>;

// `catalogue` is asked each time help is wanted, so it sees the design as it
// stands then. Attaching twice keeps the first.
void AttachFormulaHelp(QLineEdit* box, CatalogueSource catalogue);
bool HasFormulaHelp(const QLineEdit* box);

// Marks `box` as one whose Up and Down keys mean something on its page (the
// weapon damage page steps the range with them): its completion list then
// leaves them to the page, closing first, unless Ctrl+Space opened it.
void LeaveArrowsToPage(QLineEdit* box);

// Opens the reference for `box` when it has formula help; false otherwise.
bool OpenFormulaHelp(QLineEdit* box);

// What the completion would offer with the cursor at `cursor` (0-based) in
// `text`: the prefix typed so far ("&tech", "sq") and whether it asks for
// variables or functions; an empty prefix when none applies.
struct CompletionPrefix {
  QString prefix;
  bool variables = false;
};
CompletionPrefix FindCompletionPrefix(const QString& text, int cursor);

// The catalogue of the design `page` edits (a wizard page), else of the
// session's component.
FormulaCatalogue PageFormulaCatalogue(HostedPage* page);

// Help for the formula boxes of a page: every line edit under `root` that is
// a formula box (not a digits-only box, read-only box or combo box) gets
// AttachFormulaHelp with `catalogue`.
void AttachFormulaHelpToBoxes(QWidget* root, const CatalogueSource& catalogue);

}  // namespace vorlane
