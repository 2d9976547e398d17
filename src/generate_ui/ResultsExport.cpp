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

// Hands the text to `write` in pieces as a results file holds it: every line
// of the view, each joined to the next by CR LF, as UTF-8. Stops when `write`
// returns false; returns whether every piece was taken.
template <class Write>
bool ForEachResultsChunk(const ResultsTextView& view, Write write) {
  QByteArray chunk;
  const qsizetype lines = view.lineCount();
  for (qsizetype i = 0; i < lines; ++i) {
    if (i > 0) chunk += "\r\n";
    chunk += view.lineText(i).toUtf8();
    if (chunk.size() >= (1 << 16)) {
      if (!write(chunk)) return false;
      chunk.clear();
    }
  }
  return write(chunk);
}

}  // namespace

QString DesignNameOfTitle(const QString& title) {
  const qsizetype open = title.indexOf(QStringLiteral(" - ["));
  if (open < 0 || !title.endsWith(u']')) return QString();
  return title.mid(open + 4, title.size() - open - 5);
}

void CopyAllResults(const ResultsTextView& view) {
  QByteArray text;
  ForEachResultsChunk(view, [&text](const QByteArray& chunk) {
    text += chunk;
    return true;
  });
  QApplication::clipboard()->setText(QString::fromUtf8(text));
}

bool WriteResultsFile(const ResultsTextView& view, const QString& path, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  // In pieces, so that a grid's tens of megabytes are never held twice.
  bool written =
      ForEachResultsChunk(view, [&file](const QByteArray& chunk) { return file.write(chunk) == chunk.size(); });
  written = written && file.commit();
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
