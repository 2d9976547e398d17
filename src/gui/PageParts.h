// Small builders for the controls of the wizard pages: each control gets its
// control name as objectName (tests and the focus order rely on it).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <limits>
#include <string_view>

namespace vorlane {

inline QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption,
                         const QString& tooltip = QString()) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setToolTip(tooltip);
  return label;
}

// The introduction at the top of a page, wrapped to the page's width.
inline QLabel* MakeIntro(QWidget* parent, const char* name, const QString& text) {
  auto* label = MakeLabel(parent, name, text);
  label->setWordWrap(true);
  return label;
}

// Text boxes hold a stored value of any length: Qt's default limit (32767
// characters) would cut a longer one on its way through the page.
inline void HoldAnyLength(QLineEdit* box) { box->setMaxLength(std::numeric_limits<int>::max()); }

inline QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QString& tooltip = QString()) {
  auto* box = new QLineEdit(parent);
  HoldAnyLength(box);
  box->setObjectName(QString::fromLatin1(name));
  box->setToolTip(tooltip);
  return box;
}

inline QString Q(const std::string& text) { return QString::fromStdString(text); }
inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace vorlane
