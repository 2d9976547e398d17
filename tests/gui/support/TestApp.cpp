#include "support/TestApp.h"

#include "app/frmMain.h"

namespace vorlane::test {

TestApp::TestApp(std::optional<QByteArray> iniContent, const QString& stateFolder) {
  QApplication::setQuitOnLastWindowClosed(false);
  if (iniContent) {
    QFile file(SettingsPath());
    if (file.open(QIODevice::WriteOnly)) file.write(*iniContent);
  }
  hq_ = std::make_unique<HQ>(services, QDir(dir_.path()).filesystemAbsolutePath() / "Vorlane.ini");
  hq_->SetStateFolder(QDir(stateFolder.isEmpty() ? QDir(dir_.path()).filePath(QStringLiteral("state")) : stateFolder)
                          .filesystemAbsolutePath());
  hq_->Main();
  host()->activateWindow();
  (void)QTest::qWaitForWindowActive(host(), 1000);
  Settle();
}

TestApp::~TestApp() {
  hq_.reset();
  Settle();
}

QString TestApp::SettingsPath() const { return QDir(dir_.path()).filePath(QStringLiteral("Vorlane.ini")); }

std::optional<QByteArray> TestApp::SettingsBytes() const {
  QFile file(SettingsPath());
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

bool TestApp::Click(const QString& button) {
  auto* b = Find<QAbstractButton>(button);
  if (!b) return false;
  QTest::mouseClick(b, Qt::LeftButton);
  Settle();
  return true;
}

QStringList TestApp::Press(const QString& button, std::initializer_list<bool> answers) {
  services.ClearRecords();
  for (bool yes : answers) yes ? services.QueueYes() : services.QueueNo();
  if (!Click(button)) return {QStringLiteral("<no button %1>").arg(button)};
  return services.MessageTexts();
}

frmDisplayResults* TestApp::ShowResults(const QByteArray& text) {
  auto* window = new frmDisplayResults(hq());
  window->ShowResults("Facility", "Facility Generation Results - [Mine]", text);
  window->ReturnTo(PageId::FacGenerate);
  host()->ShowPage(window);
  Settle();
  return window;
}

QString TestApp::Text(const QString& name) {
  if (auto* edit = Find<QLineEdit>(name)) return edit->text();
  if (auto* combo = Find<QComboBox>(name)) return combo->currentText();
  return QStringLiteral("<missing>");
}

QString TestApp::Props(const QStringList& rows) {
  QStringList wrong;
  for (const QString& row : rows) {
    const qsizetype dot = row.indexOf('.'), eq = row.indexOf('=', dot);
    QWidget* w = Find(row.left(dot));
    const QString got = w ? w->property(qPrintable(row.mid(dot + 1, eq - dot - 1))).toString() : "<missing>";
    if (got != row.mid(eq + 1)) wrong << row + " (found: " + got + ")";
  }
  return wrong.join("; ");
}

QString TestApp::Checks(const QString& pattern, int count) {
  QString bits;
  for (int i = 0; i < count; ++i) {
    auto* box = Find<QAbstractButton>(pattern.arg(i));
    if (!box) return QStringLiteral("<missing>");
    bits += box->isChecked() ? '1' : '0';
  }
  return bits;
}

QStringList TestApp::TabOrder(const QString& first, int count) {
  QStringList order;
  QWidget* w = Find(first);
  while (w && order.size() < count) {
    // Tab passes over hidden controls.
    if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && !w->objectName().isEmpty()) order << w->objectName();
    w = w->nextInFocusChain();
  }
  return order;
}

bool TestApp::ChooseMenuOption(int index) {
  auto* menu = PageAs<frmMain>();
  if (!menu) return false;
  QRadioButton* option = menu->optCreate(index);
  // On the indicator: a click beyond the caption would miss the button.
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
  Settle();
  return option->isChecked();
}

bool TestApp::OpenFromMenu(int index) {
  if (PageName() != QLatin1String("frmMain")) {
    hq_->ShowMainMenu();
    Settle();
  }
  if (!ChooseMenuOption(index)) return false;
  Key(Qt::Key_Return);
  return true;
}

void TestApp::Key(int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (!target || target->window() != host()) target = host();
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  Settle();
}

bool TestApp::Type(const QString& field, const QString& text) {
  auto* edit = Find<QLineEdit>(field);
  if (!edit) return false;
  edit->setFocus(Qt::TabFocusReason);
  Settle();
  edit->selectAll();
  if (text.isEmpty()) {
    QTest::keyClick(edit, Qt::Key_Delete);
  } else {
    QTest::keyClicks(edit, text);
  }
  Settle();
  return true;
}

bool TestApp::Type(std::initializer_list<std::pair<QString, QString>> fields) {
  bool found = true;
  for (const auto& [field, text] : fields) found = Type(field, text) && found;
  return found;
}

void TestApp::CloseBox() {
  host()->close();
  Settle();
}

void TestApp::Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace vorlane::test
