// The base of every wizard page: the Back, Cancel and Next buttons with their
// captions, tooltips and keys (Enter presses Next, Escape presses Cancel), the
// question before returning to the main menu, the close box, select-all on
// focus, and the navigating flag.
//
// Writing a page:
//   class frmCompCost : public WizardPage {
//    public:
//     explicit frmCompCost(Session& session) : WizardPage(session) {
//       setObjectName("frmCompCost");               // tests find pages by it
//       setWindowTitle(kComponentDesignTitle + " - Cost");
//       auto* form = new QGridLayout(Body());        // controls go into Body()
//       txtMinCost = new QLineEdit(Body());          // objectName = control name
//       ...
//       LoadFields();                                // fill from the record
//     }
//     std::optional<PageId> Step() const override { return PageId::CompCost; }
//    protected:
//     bool CheckFields() override;         // Next's checks in order; show the
//                                          // message and return false to stay
//     void SaveFields() override;          // write every field to the record
//   };
// The record is Component() or Facility(); the directories are
// session().SEIVDir() and session().ModDir(); messages go through
// session().services().Inform(this, text) / Ask(this, question) (title
// "Vorlane" unless one is given).
//
// Navigation. A page never names its neighbours: the program's flow table
// (app/WizardFlow.h) says which step follows which, and CreateNextPage() /
// CreatePreviousPage() ask it for the page after or before Step(). Next runs
// CheckFields, SaveFields, then opens the next page; Back runs SaveFields, then
// opens the previous page (nullptr: the page stays). Pages that walk through
// entries before leaving (technology requirements, abilities) override
// OnNext/OnBack and call NavigateTo(page) when they leave; the flow tells such
// a page to ArriveAtLastEntry() where Back lands on its last entry. The host
// window shows the new page in this one's place (same window, same position)
// and this page closes with its navigating flag set. Cancel asks "Do you want
// to return to the main menu?"; Yes calls ReturnToMenu(), which writes
// nothing. The host's close box returns to the menu without the question.
//
// Outside a wizard page (menu, results window) a page is shown with
// session().ShowPage(page); session().ShowMainMenu() shows a fresh menu.
//
// Buttons: BackButton(), CancelButton(), NextButton() (objectNames cmdBack,
// cmdCancel, cmdNext). Controls carry their control names as objectNames so
// that GUI tests (tests/gui/support/TestApp.h) find them. Entry fields select all of their text on focus;
// HostedPage::SetSelectAllOnFocus(field, false) opts one out. MaskEdit
// (gui/MaskEdit.h) is the digits-only mask-edit box.
#pragma once

#include <QPushButton>
#include <optional>
#include <type_traits>

#include "gui/AppTitles.h"
#include "gui/HostedPage.h"
#include "gui/PageId.h"
#include "gui/Session.h"

namespace vorlane {

class WizardPage : public HostedPage {
  Q_OBJECT

 public:
  explicit WizardPage(Session& session, QWidget* parent = nullptr);

  // The wizard step this page is; nothing for the vehicle page.
  virtual std::optional<PageId> Step() const { return std::nullopt; }
  // The design the page edits, judged by its step (a page outside the
  // steps, the design sheet, tells its own).
  virtual std::optional<DesignKind> Kind() const;

  // True only once the page has handed its place to another wizard page.
  bool Navigating() const { return navigating_; }

  QPushButton* BackButton() const { return cmdBack_; }
  QPushButton* CancelButton() const { return cmdCancel_; }
  QPushButton* NextButton() const { return cmdNext_; }

  // The close box: back to the main menu, without a question.
  bool OnCloseBox() override;

  // Writes the page's fields to the record without any check, as Back does,
  // and leaves the page as it is (saving a design keeps what is on screen).
  void StoreFields() { SaveFields(); }

  // The record of the page's design as StoreFields would leave it, made on a
  // copy: the record itself stays as it is.
  vrlComponent ComponentSnapshot();
  vrlFacility FacilitySnapshot();

  // The flow opens the page at its last entry (pages that walk entries).
  virtual void ArriveAtLastEntry() {}

  void AboutToBeShown() override;

 protected:
  void showEvent(QShowEvent* event) override;

  // The area above the buttons where the page puts its controls.
  QWidget* Body() const { return body_; }

  // The start page of the component wizard shows its buttons without tooltips.
  void ClearButtonTooltips();

  virtual bool CheckFields() { return true; }
  virtual void SaveFields() {}
  // The record the page reads and writes: the session's, or the copy a
  // snapshot is made on.
  vrlComponent& Component() const;
  vrlFacility& Facility() const;
  // Component() or Facility() by the record's type.
  template <class Record>
  Record& Design() const {
    if constexpr (std::is_same_v<Record, vrlComponent>) {
      return Component();
    } else {
      return Facility();
    }
  }

  // The pages the flow puts after and before this one, made fresh; nullptr
  // where there is none. Wizard pages keep these; a page outside both
  // wizards (a test's own) may name its own neighbours.
  virtual HostedPage* CreateNextPage();
  virtual HostedPage* CreatePreviousPage();

  virtual void OnNext();
  virtual void OnBack();
  virtual void OnCancel();

  // Shows `page` in this page's place; this page closes as navigated.
  void NavigateTo(HostedPage* page);
  // Closes this page without navigating: the main menu opens in its place.
  void ReturnToMenu();

 private:
  void AttachFormulaHelpToPage();

  QWidget* body_;
  QWidget* buttonBar_;
  QPushButton* cmdBack_;
  QPushButton* cmdCancel_;
  QPushButton* cmdNext_;
  bool navigating_ = false;
  vrlComponent* componentCopy_ = nullptr;
  vrlFacility* facilityCopy_ = nullptr;
};

}  // namespace vorlane
