// The results window: every generated entry as plain text in a fixed-pitch
// font, for the user to select and copy into the game's data files. It takes
// the generate page's place in the program's window; closing it brings the
// generate page of the wizard whose results it shows back.
#pragma once

#include <QByteArray>
#include <QString>

#include "app/HostedPage.h"

class QPushButton;

namespace vorlane {

class ResultsTextView;

class frmDisplayResults : public HostedPage {
  Q_OBJECT

 public:
  explicit frmDisplayResults(HQ& hq, QWidget* parent = nullptr);

  // "Component" or "Facility": the wizard whose generate page comes back
  // when the window closes.
  QString ResultKind;

  // Title, kind and text of one finished generation.
  void ShowResults(const QString& resultKind, const QString& title, QByteArray text);

  ResultsTextView* rtfResults() const { return rtfResults_; }

  // The close box, like Close, shows the generate page again instead of
  // ending anything.
  bool OnCloseBox() override;

  QSize sizeHint() const override { return {780, 560}; }

 private:
  ResultsTextView* rtfResults_;
  // "Copy All" puts the whole text on the clipboard and "Save As…" writes it
  // to a file, both with CR LF line ends; "Close" (Escape) goes back to the
  // generate page.
  QPushButton* cmdCopyAll_;
  QPushButton* cmdSaveAs_;
  // "Check" lists what the game would refuse or misread in the entries.
  QPushButton* cmdCheck_;
  QPushButton* cmdClose_;
};

}  // namespace vorlane
