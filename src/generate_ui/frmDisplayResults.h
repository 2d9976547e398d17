// The results window: every generated entry as plain text in a fixed-pitch
// font, for the user to select and copy into the game's data files. One
// window serves the whole run; closing it hands control back to the generate
// page of the wizard whose results it shows.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

class QPushButton;
class ResultsTextView;

namespace vorlane {
class Services;
}

class frmDisplayResults : public QWidget {
  Q_OBJECT

 public:
  explicit frmDisplayResults(QWidget* parent = nullptr);

  // "Component" or "Facility": the wizard whose generate page comes back
  // when the window closes.
  QString ResultKind;

  // Title, kind and text for one finished generation. `name` is the finished
  // design name of the last entry.
  void ShowResults(const QString& kind, const QString& name, QByteArray text);

  ResultsTextView* rtfResults() const { return rtfResults_; }

  // The services that Save As asks for the file with; without them the
  // program's own dialogs are used.
  void SetServices(vorlane::Services* services) { services_ = services; }

 signals:
  // Emitted when the user closes the window, with the kind it showed.
  void closed(const QString& resultKind);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ResultsTextView* rtfResults_;
  // "Copy All" puts the whole text on the clipboard; "Save As…" writes it to
  // a file with CR LF line ends.
  QPushButton* cmdCopyAll_;
  QPushButton* cmdSaveAs_;
  vorlane::Services* services_ = nullptr;
  QString designName_;
};
