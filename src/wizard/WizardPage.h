// The base of every wizard page: the Back, Cancel and Next buttons with their
// captions, tooltips and keys (Enter presses Next, Escape presses Cancel), the
// question before returning to the main menu, the close box, select-all on
// focus, and the navigating flag.
//
// Writing a page:
//   class frmCompCost : public WizardPage {
//    public:
//     explicit frmCompCost(HQ& hq) : WizardPage(hq) {
//       setObjectName("frmCompCost");               // tests find pages by it
//       setWindowTitle(kComponentDesignTitle + " - Cost");
//       auto* form = new QGridLayout(Body());        // controls go into Body()
//       txtMinCost = new QLineEdit(Body());          // objectName = control name
//       ...
//       LoadFields();                                // fill from the record
//     }
//    protected:
//     bool CheckFields() override;         // Next's checks in order; show the
//                                          // message and return false to stay
//     void SaveFields() override;          // write every field to the record
//     HostedPage* CreateNextPage() override { return new frmCompAbility(hq()); }
//     HostedPage* CreatePreviousPage() override {
//       auto* tech = new frmCompTech(hq());          // opens at entry 1 ...
//       if (hq().Component().NumTechReqs() > 0) {    // ... or at the last one
//         tech->CurrentTechReq = hq().Component().NumTechReqs();
//         tech->RefreshForm();
//       }
//       return tech;
//     }
//   };
// The record is hq().Component() or hq().Facility(); the directories are
// hq().SEIVDir() and hq().ModDir(); messages go through
// hq().services().Inform(this, text) / Ask(this, question) (title "Vorlane"
// unless one is given).
//
// Navigation. Next runs CheckFields, SaveFields, then opens CreateNextPage()
// (nullptr: no page to open yet, the page stays). Back runs SaveFields, then
// opens CreatePreviousPage() (nullptr: the page stays). Pages that walk
// through entries before leaving (technology requirements, abilities)
// override OnNext/OnBack and call NavigateTo(page) when they leave. Opening a
// page is always NavigateTo(new frmX(hq())): the host window shows the new page
// in this one's place (same window, same position) and this page closes with
// its navigating flag set. Cancel asks "Do you want to return to the main
// menu?"; Yes calls ReturnToMenu(), which writes nothing. The host's close box
// returns to the menu without the question.
//
// Outside a wizard page (menu, results window) a page is shown with
// hq().Host().ShowPage(page); hq().ShowMainMenu() shows a fresh menu.
//
// Buttons: BackButton(), CancelButton(), NextButton() (objectNames cmdBack,
// cmdCancel, cmdNext). Controls carry their control names as objectNames so
// that GUI tests (tests/gui/support/TestApp.h) find them. Entry fields select all of their text on focus;
// HostedPage::SetSelectAllOnFocus(field, false) opts one out. MaskEdit
// (wizard/MaskEdit.h) is the digits-only mask-edit box.
#pragma once

#include <QPushButton>

#include "app/AppTitles.h"
#include "app/HostedPage.h"

namespace vorlane {

class WizardPage : public HostedPage {
  Q_OBJECT

 public:
  explicit WizardPage(HQ& hq, QWidget* parent = nullptr);

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

  void AboutToBeShown() override;

 protected:
  // The area above the buttons where the page puts its controls.
  QWidget* Body() const { return body_; }

  // The start page of the component wizard shows its buttons without tooltips.
  void ClearButtonTooltips();

  virtual bool CheckFields() { return true; }
  virtual void SaveFields() {}
  virtual HostedPage* CreateNextPage() { return nullptr; }
  virtual HostedPage* CreatePreviousPage() { return nullptr; }

  virtual void OnNext();
  virtual void OnBack();
  virtual void OnCancel();

  // Shows `page` in this page's place; this page closes as navigated.
  void NavigateTo(HostedPage* page);
  // Closes this page without navigating: the main menu opens in its place.
  void ReturnToMenu();

 private:
  QWidget* body_;
  QWidget* buttonBar_;
  QPushButton* cmdBack_;
  QPushButton* cmdCancel_;
  QPushButton* cmdNext_;
  bool navigating_ = false;
};

}  // namespace vorlane
