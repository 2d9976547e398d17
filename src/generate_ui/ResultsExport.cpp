#include "generate_ui/ResultsExport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "app/Services.h"
#include "generate_ui/ResultsTextView.h"

namespace vorlane {

namespace {

// The folder of the last results file, offered again by the next Save As.
QString& LastResultsDir() {
  static QString dir;
  return dir;
}

QString SuggestedFileName(const QString& designName) {
  QString base = designName.trimmed();
  for (QChar& c : base) {
    if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = u'_';
  }
  if (base.isEmpty() || base.startsWith(u'.')) base.prepend(QStringLiteral("results"));
  return base + QStringLiteral(".txt");
}

}  // namespace

QString DesignNameOfTitle(const QString& title) {
  const qsizetype open = title.indexOf(QStringLiteral(" - ["));
  if (open < 0 || !title.endsWith(u']')) return QString();
  return title.mid(open + 4, title.size() - open - 5);
}

void CopyAllResults(const ResultsTextView& view) { QApplication::clipboard()->setText(view.text()); }

bool WriteResultsFile(const ResultsTextView& view, const QString& path, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  // Line by line, so that a grid's tens of megabytes are never held twice.
  QByteArray chunk;
  bool written = true;
  const qsizetype lines = view.lineCount();
  for (qsizetype i = 0; i < lines && written; ++i) {
    if (i > 0) chunk += "\r\n";
    chunk += view.lineText(i).toUtf8();
    if (chunk.size() >= (1 << 16)) {
      written = file.write(chunk) == chunk.size();
      chunk.clear();
    }
  }
  written = written && file.write(chunk) == chunk.size() && file.commit();
  if (!written) {
    error = QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
  }
  return written;
}

bool SaveResultsAs(QWidget* parent, Services& services, const ResultsTextView& view, const QString& designName) {
  QString& lastDir = LastResultsDir();
  const QString start = QDir(lastDir.isEmpty() ? QDir::homePath() : lastDir).filePath(SuggestedFileName(designName));
  const QString path = services.SaveFileName(parent, QStringLiteral("Save Results As"),
                                             QStringLiteral("Text files (*.txt);;All files (*)"), start);
  if (path.isEmpty()) return false;
  QString error;
  if (!WriteResultsFile(view, path, error)) {
    services.Inform(parent, QStringLiteral("The results could not be saved.\n") + error);
    return false;
  }
  lastDir = QFileInfo(path).absolutePath();
  return true;
}

}  // namespace vorlane
