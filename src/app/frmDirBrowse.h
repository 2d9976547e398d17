// The directory picker of the setup page: a drop-down of the machine's drives
// (the file system's root and its mounted volumes) and a directory list that
// shows the current directory with its parents above it and its
// subdirectories below; activating an entry (double click or Enter) moves
// there. OK takes the current directory.
#pragma once

#include <QDialog>
#include <QHash>
#include <QStringList>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vorlane {

class frmDirBrowse : public QDialog {
  Q_OBJECT

 public:
  explicit frmDirBrowse(QWidget* parent = nullptr);

  // Starts at `dir`: a directory that does not exist starts at its nearest
  // existing parent, failing that at the process's current directory.
  void Start(const QString& dir);

  // The directory the list shows as current.
  QString Path() const { return path_; }
  // Moves the list to `dir` (an existing directory).
  void SetPath(const QString& dir);

  QString ChosenPath() const { return chosenPath_; }
  // True from the picker's opening until OK is pressed.
  bool Cancelled() const { return cancelled_; }

  // The drives offered: the file system's roots, then mounted volumes.
  static QStringList Drives();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FillDirectoryList();
  void DriveChosen(int index);
  void EntryActivated(QListWidgetItem* item);
  void cmdOK_Click();
  QString DriveOf(const QString& dir) const;

  QComboBox* drvDrive_;
  QListWidget* dirDirectory_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
  QString path_;
  QString chosenPath_;
  bool cancelled_ = true;
  // The directory last shown on each drive.
  QHash<QString, QString> driveDirs_;
};

}  // namespace vorlane
