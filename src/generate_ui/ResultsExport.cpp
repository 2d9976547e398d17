#include "generate_ui/ResultsExport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "gui/LineTextView.h"
#include "gui/Services.h"
#include "gui/Session.h"

namespace vorlane {

namespace {

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
bool ForEachResultsChunk(const LineTextView& view, Write write) {
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

QString ResultsFileFilter(TextEncoding encoding) {
  return encoding == TextEncoding::Windows1252 ? QStringLiteral("Text for the game, Windows-1252 (*.txt)")
                                               : QStringLiteral("Text in UTF-8 (*.txt)");
}

QString DesignNameOfTitle(const QString& title) {
  const qsizetype open = title.indexOf(QStringLiteral(" - ["));
  if (open < 0 || !title.endsWith(u']')) return QString();
  return title.mid(open + 4, title.size() - open - 5);
}

void CopyAllResults(const LineTextView& view) {
  QByteArray text;
  ForEachResultsChunk(view, [&text](const QByteArray& chunk) {
    text += chunk;
    return true;
  });
  QApplication::clipboard()->setText(QString::fromUtf8(text));
}

bool WriteResultsFile(const LineTextView& view, const QString& path, QString& error, TextEncoding encoding) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  // Line by line, so that a grid's tens of megabytes are never held twice.
  std::string chunk;
  bool written = true;
  EntryCursor cursor;
  std::string unencodable;
  const qsizetype lines = view.lineCount();
  for (qsizetype i = 0; i < lines && written; ++i) {
    if (i > 0) chunk += "\r\n";
    const QByteArray line = view.lineText(i).toUtf8();
    const std::string_view text(line.constData(), static_cast<std::size_t>(line.size()));
    cursor.Next(text);
    if (!AppendEncodedLine(text, encoding, cursor, chunk, unencodable)) {
      file.cancelWriting();
      error = QStringLiteral("Cannot write \"%1\": %2.\nChoose the UTF-8 file type to keep every character.")
                  .arg(QDir::toNativeSeparators(path), QString::fromStdString(unencodable));
      return false;
    }
    if (chunk.size() >= (1 << 16)) {
      written = file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size());
      chunk.clear();
    }
  }
  written = written &&
            file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size()) &&
            file.commit();
  if (!written) {
    error = QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
  }
  return written;
}

bool SaveResultsAs(QWidget* parent, Session& session, const LineTextView& view, const QString& designName) {
  // The folder and file type of the last results file are offered first,
  // also in the next run.
  RememberedPlaces places = session.Places();
  const QString lastDir = QString::fromStdString(places.ResultsFolder);
  TextEncoding lastEncoding = TextEncoding::Windows1252;
  ParseTextEncoding(places.ResultsType, lastEncoding);
  Services& services = session.services();
  const QString start = QDir(lastDir.isEmpty() ? QDir::homePath() : lastDir).filePath(SuggestedFileName(designName));
  const QString gameFilter = ResultsFileFilter(TextEncoding::Windows1252);
  const QString utf8Filter = ResultsFileFilter(TextEncoding::Utf8);
  QString chosenFilter = ResultsFileFilter(lastEncoding);
  const QString path = services.SaveFileName(parent, QStringLiteral("Save Results As"),
                                             gameFilter + QStringLiteral(";;") + utf8Filter, start, &chosenFilter);
  if (path.isEmpty()) return false;
  const TextEncoding encoding = chosenFilter == utf8Filter ? TextEncoding::Utf8 : TextEncoding::Windows1252;
  QString error;
  if (!WriteResultsFile(view, path, error, encoding)) {
    services.Inform(parent, QStringLiteral("The results could not be saved.\n") + error);
    return false;
  }
  places.ResultsFolder = QFileInfo(path).absolutePath().toStdString();
  places.ResultsType = encoding == TextEncoding::Utf8 ? "utf-8" : "windows-1252";
  session.RememberPlaces(places);
  return true;
}

}  // namespace vorlane
