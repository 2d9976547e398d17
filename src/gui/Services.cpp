#include "gui/Services.h"

namespace vorlane {

MessageAnswer ServicesMessageSink::Show(const std::string& title, const std::string& text,
                                        MessageButtons buttons) {
  return services_.ShowMessage(parent_, QString::fromStdString(text), buttons, QString::fromStdString(title));
}

std::optional<int> Services::ChooseFromList(QWidget*, const QString&, const QString&, const QStringList&,
                                            const QStringList&) {
  return std::nullopt;
}

}  // namespace vorlane
