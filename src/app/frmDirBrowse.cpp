#include "app/frmDirBrowse.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace vorlane {

namespace {

constexpr int kPathRole = Qt::UserRole;

QString Clean(const QString& dir) { return QDir::cleanPath(QDir(dir).absolutePath()); }

// The directory itself when it exists, else its nearest existing parent.
QString NearestExisting(QString dir) {
  dir = Clean(dir);
  while (!QFileInfo(dir).isDir()) {
    const QString parent = QFileInfo(dir).path();
    if (parent == dir || parent.isEmpty()) return QString();
    dir = parent;
  }
  return dir;
}

}  // namespace

frmDirBrowse::frmDirBrowse(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmDirBrowse"));
  setWindowTitle(QStringLiteral("Select directory:"));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  drvDrive_ = new QComboBox(this);
  drvDrive_->setObjectName(QStringLiteral("drvDrive"));
  drvDrive_->addItems(Drives());
  dirDirectory_ = new QListWidget(this);
  dirDirectory_->setObjectName(QStringLiteral("dirDirectory"));
  dirDirectory_->setMinimumSize(320, 260);
  layout->addWidget(drvDrive_);
  layout->addWidget(dirDirectory_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdOK_ = new QPushButton(QStringLiteral("&OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  // No default button: Enter opens the list's entry or presses the focused
  // button (keyPressEvent).
  for (QPushButton* b : {cmdOK_, cmdCancel_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);

  connect(drvDrive_, &QComboBox::activated, this, [this](int index) { DriveChosen(index); });
  connect(dirDirectory_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { EntryActivated(item); });
  connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  // Escape, Cancel and the close box all reject, leaving Cancelled set.
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

  Start(QDir::currentPath());
}

QStringList frmDirBrowse::Drives() {
  QStringList drives;
  for (const QFileInfo& root : QDir::drives()) drives << Clean(root.absoluteFilePath());
  QStringList volumes;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = Clean(volume.rootPath());
    if (!drives.contains(root) && !volumes.contains(root)) volumes << root;
  }
  volumes.sort(Qt::CaseInsensitive);
  return drives + volumes;
}

QString frmDirBrowse::DriveOf(const QString& dir) const {
  QString best;
  for (int i = 0; i < drvDrive_->count(); ++i) {
    const QString drive = drvDrive_->itemText(i);
    const bool inside = dir == drive || dir.startsWith(drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/'));
    if (inside && drive.size() > best.size()) best = drive;
  }
  return best;
}

void frmDirBrowse::Start(const QString& dir) {
  cancelled_ = true;
  QString start = NearestExisting(dir);
  if (start.isEmpty()) start = Clean(QDir::currentPath());
  SetPath(start);
}

void frmDirBrowse::SetPath(const QString& dir) {
  path_ = Clean(dir);
  const QString drive = DriveOf(path_);
  if (!drive.isEmpty()) {
    driveDirs_[drive] = path_;
    const QSignalBlocker block(drvDrive_);
    drvDrive_->setCurrentIndex(drvDrive_->findText(drive));
  }
  FillDirectoryList();
}

// The current directory's parents, from the root down, the current directory
// itself (selected), then its subdirectories, each level indented further.
void frmDirBrowse::FillDirectoryList() {
  dirDirectory_->clear();
  QStringList chain;
  for (QString dir = path_;;) {
    chain.prepend(dir);
    const QString parent = QFileInfo(dir).path();
    if (parent == dir || parent.isEmpty() || QDir(dir).isRoot()) break;
    dir = parent;
  }
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  int depth = 0;
  QListWidgetItem* current = nullptr;
  for (const QString& dir : chain) {
    const QString name = QDir(dir).isRoot() ? dir : QFileInfo(dir).fileName();
    auto* item = new QListWidgetItem(openIcon, QString(depth * 2, QLatin1Char(' ')) + name, dirDirectory_);
    item->setData(kPathRole, dir);
    current = item;
    ++depth;
  }
  const QStringList children =
      QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    auto* item = new QListWidgetItem(closedIcon, QString(depth * 2, QLatin1Char(' ')) + child, dirDirectory_);
    item->setData(kPathRole, QDir(path_).filePath(child));
  }
  dirDirectory_->setCurrentItem(current);
}

void frmDirBrowse::DriveChosen(int index) {
  const QString drive = drvDrive_->itemText(index);
  const QString remembered = NearestExisting(driveDirs_.value(drive, drive));
  SetPath(remembered.isEmpty() ? drive : remembered);
}

void frmDirBrowse::EntryActivated(QListWidgetItem* item) {
  const QString dir = item->data(kPathRole).toString();
  if (QFileInfo(dir).isDir()) SetPath(dir);
}

void frmDirBrowse::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void frmDirBrowse::cmdOK_Click() {
  chosenPath_ = path_;
  cancelled_ = false;
  accept();
}

}  // namespace vorlane
