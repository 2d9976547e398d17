// The program's own services: Qt message boxes and file dialogs, the directory
// picker frmDirBrowse, and wave playback through Qt Multimedia.
#pragma once

#include "gui/Services.h"

namespace vorlane {

class QtServices : public Services {
 public:
  MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                            const QString& title) override;
  SaveAnswer AskToSave(QWidget* parent, const QString& text, const QString& title) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& buttons, const QString& title) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                       const QString& startDir) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& startDir,
                       QString* selectedFilter = nullptr) override;
  std::optional<QString> ChooseDirectory(QWidget* parent, const QString& startDir) override;
  bool PlaySound(QWidget* parent, const QString& path) override;
  std::optional<int> ChooseFromList(QWidget* parent, const QString& title, const QString& label,
                                    const QStringList& items, const QStringList& hidden = {}) override;
};

}  // namespace vorlane
