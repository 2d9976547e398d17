// The formula reference: a search box over the variables a design offers and
// the evaluator's functions, each with its argument list and a one-line
// description, filtered as the user types. Enter, double-click or Insert puts
// the chosen name at the cursor of the formula box the reference was opened
// for (a function as "name(", in a new brace group outside one); opened
// without a box it only shows.
#pragma once

#include <QDialog>
#include <QPointer>

#include "generate/FormulaCatalogue.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlane {

class FormulaReference : public QDialog {
  Q_OBJECT

 public:
  FormulaReference(const FormulaCatalogue& catalogue, QLineEdit* target, QWidget* parent = nullptr);

  QLineEdit* SearchBox() const { return search_; }
  QTreeWidget* List() const { return list_; }

  // Shows only the entries whose name or description holds `text` (any case).
  void Filter(const QString& text);
  // The text the current entry inserts ("&complevel", "sqr("); empty for none.
  QString CurrentInsertText() const;
  // Inserts the current entry into the target box and closes; false when
  // there is nothing to insert or nowhere to put it.
  bool InsertCurrent();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectFirstVisible();
  QTreeWidgetItem* AddGroup(const QString& title);

  QLineEdit* search_;
  QTreeWidget* list_;
  QPushButton* insert_;
  QPointer<QLineEdit> target_;
};

// Opens the reference window-modal over `parent` without blocking; it deletes
// itself when closed.
FormulaReference* ShowFormulaReference(QWidget* parent, const FormulaCatalogue& catalogue, QLineEdit* target);

// Puts `text` at the cursor of `box`, keeping the box's text around it (a
// selection is not replaced); undoable like typing.
void InsertAtCursor(QLineEdit* box, const QString& text);

// Whether position `at` (0-based) of `text` lies inside a brace group.
bool InsideBraces(const QString& text, int at);

// Puts the function `name` at the cursor of `box` as InsertAtCursor does:
// "name(" inside a brace group; outside one, where it would stay literal
// text, in a new group "{name()}" with the cursor between the brackets.
void InsertFunctionAtCursor(QLineEdit* box, const QString& name);

}  // namespace vorlane
