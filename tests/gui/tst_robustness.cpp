// Random keys, clicks and text on every page for a bounded time, starting from
// the main menu and from each example design: formulas, huge numbers, control
// characters, questions answered at random, files chosen at random. Nothing
// may crash, hang (ctest's time limit) or, in the sanitizer build, trip a
// sanitizer, and the program must end cleanly afterwards.
//
// VORLANE_ROBUSTNESS_SECONDS sets the length of the whole test (default 10);
// VORLANE_ROBUSTNESS_SEED replays a run (the seed used is printed).
#include <QtTest>
#include <QtWidgets>
#include <array>
#include <random>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "generate_ui/GeneratePage.h"
#include "gui/Services.h"

using namespace vorlane;

namespace {

std::mt19937 rng;

int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

template <class List>
auto Any(const List& items) {
  return items[Pick(static_cast<int>(std::size(items)))];
}

const QString kExamples = QStringLiteral(VORLANE_EXAMPLES_DIR);

QStringList ExampleDesigns() { return QDir(kExamples).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name); }

// Questions answered at random; files and directories chosen at random among
// good, missing and unwritable ones (copies of the examples, which the
// program may overwrite, among them); no sound plays.
class RandomServices : public Services {
 public:
  explicit RandomServices(const QString& dir) : dir_(dir) {}

  // While the program is being ended: every question lets it end.
  bool ending = false;

  MessageAnswer ShowMessage(QWidget*, const QString&, MessageButtons buttons, const QString&) override {
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return ending || Pick(2) ? MessageAnswer::Yes : MessageAnswer::No;
  }
  SaveAnswer AskToSave(QWidget*, const QString&, const QString&) override {
    return ending ? SaveAnswer::Discard : Any(std::array{SaveAnswer::Save, SaveAnswer::Discard, SaveAnswer::Cancel});
  }
  int Choose(QWidget*, const QString&, const QStringList& buttons, const QString&) override {
    return ending ? -1 : Pick(static_cast<int>(buttons.size()) + 1) - 1;
  }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    QStringList choices{QString(), File("saved.vorlane.json"), File("missing.vorlane.json"), File("results.txt")};
    for (const QString& name : ExampleDesigns()) {
      choices << File(name);
      QFile::copy(QDir(kExamples).filePath(name), choices.back());
    }
    return Any(choices);
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, QString*) override {
    if (ending) return QString();
    return Any(QStringList{QString(), File("saved.vorlane.json"), File("saved"), File("results.txt"),
                           File("no/such/dir/x.vorlane.json")});
  }
  std::optional<QString> ChooseDirectory(QWidget*, const QString&) override {
    return Any(std::array<std::optional<QString>, 3>{std::nullopt, dir_, QStringLiteral("/no/such/dir")});
  }
  bool PlaySound(QWidget*, const QString&) override { return false; }

 private:
  QString File(const QString& name) const { return QDir(dir_).filePath(name); }

  QString dir_;
};

QString RandomText() {
  static const std::array<const char*, 28> kTexts{"{&complevel*10}",
                                                  "1e400",
                                                  "-1e400",
                                                  "{1.7976931348623157e308}",
                                                  "99999999999999999999999",
                                                  "32767",
                                                  "-32768",
                                                  "65536",
                                                  "0",
                                                  "",
                                                  " ",
                                                  "&",
                                                  "&&",
                                                  "{",
                                                  "}",
                                                  "{{{{1}",
                                                  "&abil1val1",
                                                  "&techlevel99",
                                                  "{sqrt(-1)}",
                                                  "{1/0}",
                                                  "&compname&compname",
                                                  "{&complevel+1",
                                                  "Ion Cannon T{&complevel+100}",
                                                  "\x01\x02\x1b\x7f",
                                                  "\t\r\n",
                                                  "\xC3\x84\xE2\x82\xAC\xF0\x9D\x84\x9E",
                                                  "None",
                                                  "Direct Fire"};
  switch (Pick(8)) {
    case 0: {  // random UTF-16 units, lone surrogates and NUL included
      QString text;
      for (int i = Pick(12); i > 0; --i) text += QChar(static_cast<char16_t>(rng() & 0xFFFF));
      return text;
    }
    case 1: return QString::number(static_cast<qint64>(quint64{rng()} << 32 | rng()));
    case 2: return Pick(10) == 0 ? QString(70000, u'x') : QString(Pick(300), u'9');
    default: return QString::fromUtf8(Any(kTexts));
  }
}

// The widgets of type T in the window that the user could act on now.
template <class T = QWidget>
QList<T*> Targets(HostWindow& host) {
  QList<T*> targets;
  for (T* w : host.findChildren<T*>())
    if (w->isVisible() && w->isEnabled() && w->window() == &host) targets << w;
  return targets;
}

// Where keys go: the focused widget of the window, or the window.
QWidget* Focus(HostWindow& host) {
  QWidget* w = QApplication::focusWidget();
  return w && w->window() == &host ? w : &host;
}

// Now and then a key is held down or a button clicked in a run: runs reach
// the ends of ranges.
int Repeats() { return Pick(5) == 0 ? 2 + Pick(30) : 1; }

void Key(HostWindow& host) {
  static const std::array kKeys{Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Backtab,
                                Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right, Qt::Key_Home,
                                Qt::Key_End,    Qt::Key_PageUp, Qt::Key_Delete, Qt::Key_Space, Qt::Key_Backspace};
  static const std::array kCommands{Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_S, Qt::Key_O};
  const int kind = Pick(4);
  if (kind == 0) {  // an accelerator
    QTest::keyClick(Focus(host), static_cast<Qt::Key>(Qt::Key_A + Pick(26)), Qt::AltModifier);
  } else if (kind == 1) {  // a command key; Ctrl+Q rarely, as it ends the run
    const Qt::Key key = Pick(40) == 0 ? Qt::Key_Q : Any(kCommands);
    QTest::keyClick(Focus(host), key, Pick(3) == 0 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
  } else {
    const Qt::Key key = Any(kKeys);
    for (int n = Repeats(); n > 0 && host.isVisible(); --n) QTest::keyClick(Focus(host), key);
  }
}

void Click(HostWindow& host) {
  QList<QWidget*> targets;
  for (QWidget* w : Targets(host)) {
    if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
        qobject_cast<QLineEdit*>(w) || Pick(8) == 0)
      targets << w;
  }
  if (targets.isEmpty()) return;
  QPointer<QWidget> w = Any(targets);
  const QPoint at(Pick(std::max(1, w->width())), Pick(std::max(1, w->height())));
  if (Pick(6) == 0) return QTest::mouseDClick(w, Qt::LeftButton, {}, at);
  for (int n = Repeats(); n > 0 && w && w->isVisible() && w->isEnabled(); --n)
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

void Type(HostWindow& host) {
  QList<QLineEdit*> edits = Targets<QLineEdit>(host);
  edits.removeIf([](QLineEdit* edit) { return edit->isReadOnly(); });
  if (edits.isEmpty()) return;
  QLineEdit* edit = Any(edits);
  edit->setFocus(Qt::TabFocusReason);
  const QString text = RandomText();
  if (text.size() <= 20 && Pick(2)) {
    for (QChar c : text) {  // key by key, each carrying its character
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit, &press);
      QApplication::sendEvent(edit, &release);
    }
  } else {
    edit->selectAll();
    edit->insert(text);  // as a paste
  }
}

void Slide(HostWindow& host) {
  const QList<QAbstractSlider*> sliders = Targets<QAbstractSlider>(host);
  const QList<QComboBox*> combos = Targets<QComboBox>(host);
  if (!sliders.isEmpty() && Pick(2)) {
    QAbstractSlider* slider = Any(sliders);
    const int span = slider->maximum() - slider->minimum();
    slider->setValue(slider->minimum() + (span > 0 ? Pick(span + 1) : 0));
  } else if (!combos.isEmpty()) {
    QComboBox* combo = Any(combos);
    if (combo->count() > 0) combo->setCurrentIndex(Pick(combo->count()));
    if (combo->isEditable() && Pick(2)) combo->setEditText(RandomText());
  }
}

// One random action: a key, a click, typing, a slider or list choice, or the
// close box; keys go to an open popup first.
void Act(HostWindow& host) {
  if (QWidget* popup = QApplication::activePopupWidget())
    return QTest::keyClick(popup,
                           Any(std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Right}));
  const int kind = Pick(100);
  if (kind < 35) {
    Key(host);
  } else if (kind < 65) {
    Click(host);
  } else if (kind < 90) {
    Type(host);
  } else if (kind < 97) {
    Slide(host);
  } else {
    host.close();
  }
}

// The offscreen platform's notes on what it cannot do say nothing about the
// program; everything else is passed on.
QtMessageHandler passOn = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && (message.startsWith(QStringLiteral("This plugin does not support")) ||
                               message.contains(QStringLiteral("OpenType support missing"))))
    return;
  passOn(type, context, message);
}

void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class RobustnessTest : public QObject {
  Q_OBJECT

 private slots:
  void randomInputOnEveryPage() {
    const double seconds = qEnvironmentVariable("VORLANE_ROBUSTNESS_SECONDS", "10").toDouble();
    const unsigned seed =
        qEnvironmentVariable("VORLANE_ROBUSTNESS_SEED", QString::number(std::random_device{}())).toUInt();
    qInfo("VORLANE_ROBUSTNESS_SEED=%u", seed);
    passOn = qInstallMessageHandler(QuietHandler);
    rng.seed(seed);
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList starts = QStringList{QString()} + ExampleDesigns();  // the main menu, then each example
    QVERIFY(starts.size() > 1);
    long actions = 0;
    int runs = 0;
    QSet<QString> pages;
    for (const QString& start : starts) {
      QElapsedTimer clock;
      clock.start();
      const qint64 budget = static_cast<qint64>(seconds * 1000 / starts.size());
      while (clock.elapsed() < budget) {
        QTemporaryDir dir;
        RandomServices services(dir.path());
        HQ hq(services, QDir(dir.path()).filesystemAbsolutePath() / "Vorlane.ini");
        hq.Main();
        HostWindow& host = hq.Host();
        host.activateWindow();
        (void)QTest::qWaitForWindowActive(&host, 1000);
        Settle();
        if (!start.isEmpty()) {
          const QString copy = QDir(dir.path()).filePath(start);
          QVERIFY(QFile::copy(QDir(kExamples).filePath(start), copy));
          QVERIFY2(hq.Designs().OpenFile(copy), qPrintable(start));
        }
        // Every other run starts on a page chosen at random, so that all are
        // reached, and sometimes goes on from it at once.
        if (Pick(2)) {
          host.ShowPage(Any(HQ::PageMakers())(hq));
          Settle();
          if (auto* next = host.findChild<QAbstractButton*>(QStringLiteral("cmdNext")); next && Pick(2)) next->click();
        }
        Settle();
        // A generation longer than a moment is cancelled by the close box.
        QElapsedTimer generating;
        QObject::connect(&host, &HostWindow::PageChanged, &host, [&](HostedPage* page) {
          pages.insert(page->objectName());
          if (auto* generate = qobject_cast<GeneratePage*>(page)) {
            generating.invalidate();
            QObject::connect(generate, &GeneratePage::Progressed, generate, [&] {
              if (!generating.isValid()) generating.start();
              if (generating.elapsed() > 2000) host.close();
            });
          }
        });
        ++runs;
        // Short runs: many starts, and many ends of the program.
        for (int step = 0; step < 400 && host.isVisible() && clock.elapsed() < budget; ++step) {
          generating.invalidate();
          Act(host);
          Settle();
          ++actions;
        }
        // The program ends the way the user ends it.
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        services.ending = true;
        if (host.isVisible()) hq.Designs().Quit();
        Settle();
        QVERIFY(!host.isVisible());
      }
    }
    qInstallMessageHandler(passOn);
    QStringList visited(pages.begin(), pages.end());
    visited.sort();
    qInfo("%ld actions in %d runs on %s", actions, runs, qPrintable(visited.join(u' ')));
  }
};

QTEST_MAIN(RobustnessTest)
#include "tst_robustness.moc"
