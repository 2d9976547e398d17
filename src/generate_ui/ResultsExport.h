// Taking generated entries out of the results window: the whole text to the
// clipboard, or into a text file with the game's CR LF line ends.
#pragma once

#include <QString>

class QWidget;
namespace vorlane {

class ResultsTextView;
class Services;

// Puts the whole text on the clipboard, the same text Save As writes.
void CopyAllResults(const ResultsTextView& view);

// Writes every line of the view, each joined to the next by CR LF, as UTF-8;
// a text that ended with a line end still does. The file is replaced only
// once it is written in full. On failure sets `error` to a text naming the
// file and the reason.
bool WriteResultsFile(const ResultsTextView& view, const QString& path, QString& error);

// The design name in a results title ("... Results - [Laser]" gives "Laser"),
// or an empty text.
QString DesignNameOfTitle(const QString& title);

// Asks for a file (suggesting `designName` + ".txt") and writes the results
// to it; a failure is reported in a message. True when the file was written.
bool SaveResultsAs(QWidget* parent, Services& services, const ResultsTextView& view, const QString& designName);

}  // namespace vorlane
