// The results window: every generated entry as plain text in a fixed-pitch
// font, for the user to select and copy into the game's data files. It takes
// the generate page's place in the program's window; closing it brings back
// the page its opener named (the generate page).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "generate/GenerationModule.h"
#include "gui/HostedPage.h"
#include "gui/PageId.h"

class QPushButton;

namespace vorlane {

class LineTextView;

class frmDisplayResults : public HostedPage {
  Q_OBJECT

 public:
  explicit frmDisplayResults(Session& session, QWidget* parent = nullptr);

  // "Component" or "Facility": the kind of entries shown.
  QString ResultKind;

  // The page that Close brings back, told by the page that opened the
  // window; without one Close shows the main menu.
  void ReturnTo(std::optional<PageId> step) { returnTo_ = step; }

  // Title, kind and text of one finished generation.
  void ShowResults(const QString& resultKind, const QString& title, QByteArray text);
  // The generation's warnings (of `count` in all), listed by Check.
  void SetWarnings(std::vector<GenerationWarning> warnings, std::size_t count) {
    warnings_ = std::move(warnings);
    warningCount_ = count;
  }

  LineTextView* rtfResults() const { return rtfResults_; }

  // The close box, like Close, shows the page it returns to instead of
  // ending anything.
  bool OnCloseBox() override;

  QSize sizeHint() const override { return {780, 560}; }

 private:
  LineTextView* rtfResults_;
  // "Copy All" puts the whole text on the clipboard and "Save As…" writes it
  // to a file, both with CR LF line ends; "Close" (Escape) goes back to the
  // generate page.
  QPushButton* cmdCopyAll_;
  QPushButton* cmdSaveAs_;
  // "Check" lists what the game would refuse or misread in the entries.
  QPushButton* cmdCheck_;
  // "Apply to Mod…" writes the entries into the mod's data file.
  QPushButton* cmdApply_;
  QPushButton* cmdClose_;
  std::optional<PageId> returnTo_;
  std::vector<GenerationWarning> warnings_;
  std::size_t warningCount_ = 0;
};

}  // namespace vorlane
