#include "app/QtServices.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#ifdef VORLANE_QT_MULTIMEDIA
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#else
#include <QDir>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <string>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>  // before mmsystem.h
#include <mmsystem.h>
#undef PlaySound  // windows.h names PlaySoundW so; here it is the Services function
#endif

#include "app/frmDirBrowse.h"

namespace vorlane {

std::optional<int> QtServices::ChooseFromList(QWidget* parent, const QString& title, const QString& label,
                                              const QStringList& items, const QStringList& hidden) {
  QDialog dialog(parent);
  dialog.setWindowTitle(title);
  auto* layout = new QVBoxLayout(&dialog);
  auto* caption = new QLabel(label, &dialog);
  auto* search = new QLineEdit(&dialog);
  search->setObjectName(QStringLiteral("txtSearch"));
  search->setPlaceholderText(QStringLiteral("Search"));
  search->setClearButtonEnabled(true);
  caption->setBuddy(search);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("lstItems"));
  for (int i = 0; i < items.size(); ++i) {
    auto* item = new QListWidgetItem(items[i], list);
    item->setData(Qt::UserRole, i);
    item->setData(Qt::UserRole + 1, hidden.value(i));
  }
  list->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addWidget(caption);
  layout->addWidget(search);
  layout->addWidget(list, 1);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
  QObject::connect(search, &QLineEdit::textChanged, &dialog, [list](const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < list->count(); ++row) {
      QListWidgetItem* item = list->item(row);
      const bool shown = item->text().contains(text, Qt::CaseInsensitive) ||
                         item->data(Qt::UserRole + 1).toString().contains(text, Qt::CaseInsensitive);
      item->setHidden(!shown);
      if (shown && !first) first = item;
    }
    list->setCurrentItem(first);
  });
  dialog.resize(480, 420);
  search->setFocus();
  if (dialog.exec() != QDialog::Accepted || !list->currentItem() || list->currentItem()->isHidden()) {
    return std::nullopt;
  }
  return list->currentItem()->data(Qt::UserRole).toInt();
}

MessageAnswer QtServices::ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                                      const QString& title) {
  QMessageBox box(parent);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  if (buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

SaveAnswer QtServices::AskToSave(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox box(parent);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  // Keys for the two that act, as Yes and No have.
  box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  if (box.clickedButton() == box.button(QMessageBox::Save)) return SaveAnswer::Save;
  if (box.clickedButton() == box.button(QMessageBox::Discard)) return SaveAnswer::Discard;
  return SaveAnswer::Cancel;
}

int QtServices::Choose(QWidget* parent, const QString& text, const QStringList& buttons, const QString& title) {
  QMessageBox box(parent);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  QList<QPushButton*> pushed;
  for (const QString& caption : buttons) pushed << box.addButton(caption, QMessageBox::AcceptRole);
  if (!pushed.isEmpty()) box.setDefaultButton(pushed.front());
  // Escape and the close box choose nothing.
  auto* none = box.addButton(QMessageBox::Cancel);
  none->hide();
  box.setEscapeButton(none);
  box.exec();
  return static_cast<int>(pushed.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}

QString QtServices::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& startDir) {
  return QFileDialog::getOpenFileName(parent, title, startDir, filter);
}

QString QtServices::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& startDir, QString* selectedFilter) {
  return QFileDialog::getSaveFileName(parent, title, startDir, filter, selectedFilter);
}

std::optional<QString> QtServices::ChooseDirectory(QWidget* parent, const QString& startDir) {
  frmDirBrowse picker(parent);
  picker.Start(startDir);
  picker.exec();
  if (picker.Cancelled()) return std::nullopt;
  return picker.ChosenPath();
}

namespace {

#ifdef VORLANE_QT_MULTIMEDIA

// Plays the wave file at `file` through Qt Multimedia to its end, the event
// loop running meanwhile; false when it cannot be played.
bool PlayWave(const QString& file) {
  if (QMediaDevices::audioOutputs().isEmpty()) return false;
  QSoundEffect effect;
  QEventLoop loop;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  bool started = false;
  bool played = false;
  QObject::connect(&watchdog, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
    if (effect.status() == QSoundEffect::Ready && !started) {
      started = true;
      effect.play();
      // A wave file of the game lasts seconds; the watchdog only guards
      // against a device that never reports the end.
      watchdog.start(10 * 60 * 1000);
    } else if (effect.status() == QSoundEffect::Error) {
      loop.quit();
    }
  });
  QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (started && !effect.isPlaying()) {
      played = true;
      loop.quit();
    }
  });
  watchdog.start(10 * 1000);  // time to load the file
  effect.setSource(QUrl::fromLocalFile(file));
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  effect.stop();
  return played;
}

#else

// The Windows build without Qt Multimedia: the system's own player (winmm)
// plays the file to its end on a worker thread while the event loop runs.
bool PlayWave(const QString& file) {
  const std::wstring name = QDir::toNativeSeparators(file).toStdWString();
  QFutureWatcher<bool> watcher;
  QEventLoop loop;
  QObject::connect(&watcher, &QFutureWatcher<bool>::finished, &loop, &QEventLoop::quit);
  watcher.setFuture(QtConcurrent::run(
      [name] { return ::PlaySoundW(name.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT) != FALSE; }));
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return watcher.result();
}

#endif

}  // namespace

bool QtServices::PlaySound(QWidget* parent, const QString& path) {
  if (!QFileInfo(path).isFile()) return false;
  QPointer<QWidget> window = parent ? parent->window() : nullptr;
  if (window) window->setEnabled(false);
  const bool played = PlayWave(QFileInfo(path).absoluteFilePath());
  if (window) window->setEnabled(true);
  return played;
}

}  // namespace vorlane
