// Taking generated entries out of the results window: the whole text to the
// clipboard (Unicode, converted by the system), or into a text file with the
// game's CR LF line ends, in the game's encoding Windows-1252 or in UTF-8.
#pragma once

#include <QString>

#include "generate/EntryText.h"

class QWidget;
namespace vorlane {

class LineTextView;
class Session;

// Puts the whole text on the clipboard, the same text Save As writes.
void CopyAllResults(const LineTextView& view);

// Writes every line of the view, each joined to the next by CR LF, in
// `encoding`; a text that ended with a line end still does. The file is
// replaced only once it is written in full. On failure (also a character that
// Windows-1252 cannot hold: nothing is written then) sets `error` to a text
// naming the file and the reason.
bool WriteResultsFile(const LineTextView& view, const QString& path, QString& error,
                      TextEncoding encoding = TextEncoding::Windows1252);

// The file types Save As offers, one per encoding; the first is the default.
QString ResultsFileFilter(TextEncoding encoding);

// The design name in a results title ("... Results - [Laser]" gives "Laser"),
// or an empty text.
QString DesignNameOfTitle(const QString& title);

// Asks for a file (suggesting `designName` + ".txt", in the folder of the last
// one) and its encoding (the file type, the last one chosen offered first) and
// writes the results to it; a failure is reported in a message. The folder and
// type are remembered in the session's settings. True when the file was written.
bool SaveResultsAs(QWidget* parent, Session& session, const LineTextView& view, const QString& designName);

}  // namespace vorlane
