// Random keys, clicks and text on every page for a bounded time, starting from
// the main menu and from each example design: formulas, huge numbers, control
// characters, questions answered at random, files chosen at random. Nothing
// may crash, hang (ctest's time limit) or, in the sanitizer build, trip a
// sanitizer, and the program must end cleanly afterwards.
//
// VORLANE_ROBUSTNESS_SECONDS sets the length of the whole test (default 10);
// VORLANE_ROBUSTNESS_SEED replays a run (the seed used is printed).
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <random>
#include <string>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "gui/HostedPage.h"
#include "gui/Services.h"
#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "wizard/frmVehStart.h"
#include "generate_ui/GeneratePage.h"

using namespace vorlane;

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

template <class T, std::size_t N>
const T& PickOf(Rng& rng, const std::array<T, N>& items) {
  return items[static_cast<std::size_t>(Pick(rng, static_cast<int>(N)))];
}

// The example designs' names.
QStringList ExampleDesigns() {
  return QDir(QStringLiteral(VORLANE_EXAMPLES_DIR)).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
}

// Copies of the examples in `dir`, which the program may overwrite.
QStringList CopyExamples(const QString& dir) {
  QStringList copies;
  for (const QString& name : ExampleDesigns()) {
    copies << QDir(dir).filePath(name);
    QFile::copy(QDir(QStringLiteral(VORLANE_EXAMPLES_DIR)).filePath(name), copies.back());
  }
  return copies;
}

// Questions answered at random; files and directories chosen at random among
// good, missing and unwritable ones; no sound plays.
class RandomServices : public Services {
 public:
  RandomServices(Rng& rng, const QString& dir) : rng_(rng), dir_(dir) {}

  // While the program is being ended: every question lets it end.
  bool ending = false;

  MessageAnswer ShowMessage(QWidget*, const QString&, MessageButtons buttons, const QString&) override {
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return ending || Pick(rng_, 2) ? MessageAnswer::Yes : MessageAnswer::No;
  }
  SaveAnswer AskToSave(QWidget*, const QString&, const QString&) override {
    if (ending) return SaveAnswer::Discard;
    return std::array{SaveAnswer::Save, SaveAnswer::Discard, SaveAnswer::Cancel}[Pick(rng_, 3)];
  }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    QStringList choices = CopyExamples(dir_);
    choices << QString() << File("saved.vorlane.json") << File("missing.vorlane.json") << File("results.txt");
    return choices[Pick(rng_, static_cast<int>(choices.size()))];
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, QString*) override {
    const QStringList choices{QString(), File("saved.vorlane.json"), File("saved"), File("results.txt"),
                              File("no/such/dir/x.vorlane.json")};
    return ending ? QString() : choices[Pick(rng_, static_cast<int>(choices.size()))];
  }
  std::optional<QString> ChooseDirectory(QWidget*, const QString&) override {
    const std::array<std::optional<QString>, 3> choices{std::nullopt, dir_, QStringLiteral("/no/such/dir")};
    return PickOf(rng_, choices);
  }
  bool PlaySound(QWidget*, const QString&) override { return false; }

 private:
  QString File(const char* name) const { return QDir(dir_).filePath(QString::fromLatin1(name)); }

  Rng& rng_;
  QString dir_;
};

QString RandomText(Rng& rng) {
  static const std::array<const char*, 28> kTexts{
      "{&complevel*10}", "1e400", "-1e400", "{1.7976931348623157e308}", "99999999999999999999999",
      "32767", "-32768", "65536", "0", "", " ", "&", "&&", "{", "}", "{{{{1}", "&abil1val1", "&techlevel99",
      "{sqrt(-1)}", "{1/0}", "&compname&compname", "{&complevel+1", "Ion Cannon T{&complevel+100}",
      "\x01\x02\x1b\x7f", "\t\r\n", "\xC3\x84\xE2\x82\xAC\xF0\x9D\x84\x9E", "None", "Direct Fire"};
  switch (Pick(rng, 8)) {
    case 0: {  // random UTF-16 units, lone surrogates and NUL included
      QString text;
      for (int i = Pick(rng, 12); i > 0; --i) text += QChar(static_cast<char16_t>(rng() & 0xFFFF));
      return text;
    }
    case 1:
      return QString::number(static_cast<qint64>(quint64{rng()} << 32 | rng()));
    case 2:
      return Pick(rng, 10) == 0 ? QString(70000, u'x') : QString(Pick(rng, 300), u'9');
    default:
      return QString::fromUtf8(PickOf(rng, kTexts));
  }
}

// The widgets of the window the user could act on now.
QList<QWidget*> Targets(HostWindow& host) {
  QList<QWidget*> targets;
  for (QWidget* w : host.findChildren<QWidget*>()) {
    if (w->isVisible() && w->isEnabled() && w->window() == &host) targets << w;
  }
  return targets;
}

class Monkey {
 public:
  Monkey(Rng& rng, HQ& hq) : rng_(rng), hq_(hq), host_(hq.Host()) {}

  // One random action: a key, a click, typing, a slider or list choice, or
  // the close box; keys go to an open popup first.
  void Act() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      static const std::array kPopupKeys{Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Right};
      QTest::keyClick(popup, PickOf(rng_, kPopupKeys));
      return;
    }
    const int kind = Pick(rng_, 100);
    if (kind < 35) {
      Key();
    } else if (kind < 65) {
      Click();
    } else if (kind < 90) {
      Type();
    } else if (kind < 97) {
      Slide();
    } else {
      host_.close();  // the close box
    }
  }

 private:
  void Key() {
    static const std::array kKeys{Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Tab,   Qt::Key_Backtab,
                                  Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right, Qt::Key_Home,
                                  Qt::Key_End,    Qt::Key_PageUp, Qt::Key_Delete, Qt::Key_Space, Qt::Key_Backspace};
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &host_) target = &host_;
    switch (Pick(rng_, 4)) {
      case 0: {  // an accelerator
        QTest::keyClick(target, static_cast<Qt::Key>(Qt::Key_A + Pick(rng_, 26)), Qt::AltModifier);
        break;
      }
      case 1: {  // a command key; Ctrl+Q rarely, as it ends the run
        static const std::array kCommands{Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_S, Qt::Key_O};
        const Qt::Key key = Pick(rng_, 40) == 0 ? Qt::Key_Q : PickOf(rng_, kCommands);
        QTest::keyClick(target, key, Pick(rng_, 3) == 0 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        break;
      }
      default: {
        // Now and then held down: a run of one key reaches the ends of ranges.
        const Qt::Key key = PickOf(rng_, kKeys);
        for (int n = Repeats(); n > 0 && host_.isVisible(); --n) {
          target = QApplication::focusWidget();
          QTest::keyClick(target && target->window() == &host_ ? target : &host_, key);
        }
      }
    }
  }

  int Repeats() { return Pick(rng_, 5) == 0 ? 2 + Pick(rng_, 30) : 1; }

  void Click() {
    QList<QWidget*> targets;
    for (QWidget* w : Targets(host_)) {
      if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
          qobject_cast<QLineEdit*>(w) || Pick(rng_, 8) == 0)
        targets << w;
    }
    if (targets.isEmpty()) return;
    QPointer<QWidget> w = targets[Pick(rng_, static_cast<int>(targets.size()))];
    const QPoint at(Pick(rng_, std::max(1, w->width())), Pick(rng_, std::max(1, w->height())));
    if (Pick(rng_, 6) == 0) {
      QTest::mouseDClick(w, Qt::LeftButton, {}, at);
      return;
    }
    for (int n = Repeats(); n > 0 && w && w->isVisible() && w->isEnabled(); --n)
      QTest::mouseClick(w, Qt::LeftButton, {}, at);
  }

  void Type() {
    QList<QLineEdit*> edits;
    for (QWidget* w : Targets(host_)) {
      if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->isReadOnly()) edits << edit;
    }
    if (edits.isEmpty()) return;
    QLineEdit* edit = edits[Pick(rng_, static_cast<int>(edits.size()))];
    edit->setFocus(Qt::TabFocusReason);
    const QString text = RandomText(rng_);
    if (text.size() <= 20 && Pick(rng_, 2)) {
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

  void Slide() {
    QList<QAbstractSlider*> sliders;
    QList<QComboBox*> combos;
    for (QWidget* w : Targets(host_)) {
      if (auto* slider = qobject_cast<QAbstractSlider*>(w)) sliders << slider;
      if (auto* combo = qobject_cast<QComboBox*>(w)) combos << combo;
    }
    if (!sliders.isEmpty() && Pick(rng_, 2)) {
      QAbstractSlider* slider = sliders[Pick(rng_, static_cast<int>(sliders.size()))];
      const int span = slider->maximum() - slider->minimum();
      slider->setValue(slider->minimum() + (span > 0 ? Pick(rng_, span + 1) : 0));
    } else if (!combos.isEmpty()) {
      QComboBox* combo = combos[Pick(rng_, static_cast<int>(combos.size()))];
      if (combo->count() > 0) combo->setCurrentIndex(Pick(rng_, combo->count()));
      if (combo->isEditable() && Pick(rng_, 2)) combo->setEditText(RandomText(rng_));
    }
  }

  Rng& rng_;
  HQ& hq_;
  HostWindow& host_;
};

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
    const double seconds = qEnvironmentVariableIsSet("VORLANE_ROBUSTNESS_SECONDS")
                               ? qEnvironmentVariable("VORLANE_ROBUSTNESS_SECONDS").toDouble()
                               : 10.0;
    const unsigned seed = qEnvironmentVariableIsSet("VORLANE_ROBUSTNESS_SEED")
                              ? qEnvironmentVariable("VORLANE_ROBUSTNESS_SEED").toUInt()
                              : static_cast<unsigned>(std::random_device{}());
    qInfo("VORLANE_ROBUSTNESS_SEED=%u", seed);
    passOn = qInstallMessageHandler(QuietHandler);
    Rng rng(seed);
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList starts{QString()};  // the main menu, then each example
    starts << ExampleDesigns();
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
        RandomServices services(rng, dir.path());
        HQ hq(services, QDir(dir.path()).filesystemAbsolutePath() / "Vorlane.ini");
        hq.Main();
        HostWindow& host = hq.Host();
        host.activateWindow();
        (void)QTest::qWaitForWindowActive(&host, 1000);
        Settle();
        if (!start.isEmpty()) {
          const QString copy = QDir(dir.path()).filePath(start);
          QVERIFY(QFile::copy(QDir(QStringLiteral(VORLANE_EXAMPLES_DIR)).filePath(start), copy));
          QVERIFY2(hq.Designs().OpenFile(copy), qPrintable(start));
        }
        // Every other run starts on a page chosen at random, so that all are
        // reached, and sometimes goes on from it at once.
        if (Pick(rng, 2)) {
          const std::vector<HQ::PageMaker> makers = HQ::PageMakers();
          host.ShowPage(makers[static_cast<std::size_t>(Pick(rng, static_cast<int>(makers.size())))](hq));
          Settle();
          if (auto* next = host.findChild<QAbstractButton*>(QStringLiteral("cmdNext")); next && Pick(rng, 2))
            next->click();
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
        Monkey monkey(rng, hq);
        ++runs;
        // Short runs: many starts, and many ends of the program.
        for (int step = 0; step < 400 && host.isVisible() && clock.elapsed() < budget; ++step) {
          generating.invalidate();
          monkey.Act();
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
