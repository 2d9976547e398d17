#include "app/DesignRecovery.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringList>
#include <chrono>
#include <memory>
#include <optional>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "gui/HostedPage.h"
#include "gui/PageParts.h"
#include "gui/Services.h"

namespace vorlane {

namespace {

// "Component "Laser" (laser.vorlane.json), last changed 2026-12-07 18:40"
QString Describe(const RecoveredCopy& copy) {
  const bool component = copy.design.kind == DesignKind::Component;
  const std::string& name = component ? copy.design.component.CompName() : copy.design.facility.FacName();
  QString line = component ? QStringLiteral("Component") : QStringLiteral("Facility");
  line += name.empty() ? QStringLiteral(" without a name") : QStringLiteral(" \"%1\"").arg(Q(name));
  line += copy.origin.empty() ? QStringLiteral(" (never saved)")
                              : QStringLiteral(" (%1)").arg(QFileInfo(Q(copy.origin)).fileName());
  const auto written = std::chrono::file_clock::to_sys(copy.written);
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(written.time_since_epoch()).count();
  line += QStringLiteral(", last changed ") +
          QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
  return line;
}

}  // namespace

DesignRecovery::DesignRecovery(HQ& hq, const std::filesystem::path& folder) : hq_(hq), folder_(folder) {
  worker_.setMaxThreadCount(1);
  worker_.setExpiryTimeout(-1);
  std::string error;
  // Without a folder to write to, the program runs as before, without copies.
  if (!folder_.Open(error)) return;
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
  DesignFiles& designs = hq_.Designs();
  connect(&designs, &DesignFiles::ShownDesignEdited, this, [this] { Changed(); });
  // Opened, made new, saved: whatever was unsaved is settled at once.
  connect(&designs, &DesignFiles::DesignReplaced, this, [this] { Flush(); });
  connect(&designs, &DesignFiles::Saved, this, [this] { Flush(); });
  connect(&designs, &DesignFiles::QuitConfirmed, this, [this] { Close(); });
}

DesignRecovery::~DesignRecovery() { Wait(); }

void DesignRecovery::Wait() { worker_.waitForDone(); }

void DesignRecovery::Changed() {
  if (IsOpen() && !closed_) timer_.start();
}

void DesignRecovery::Flush() {
  timer_.stop();
  if (!IsOpen() || closed_) return;
  DesignFiles& designs = hq_.Designs();
  // What to write is taken now; the writing is left to the worker.
  struct Work {
    std::optional<vrlComponent> component;
    std::optional<vrlFacility> facility;
    std::string componentOrigin, facilityOrigin;
  };
  auto work = std::make_shared<Work>();
  if (designs.HasUnsavedChanges(DesignKind::Component)) {
    work->component = designs.ShownComponent();
    work->componentOrigin = designs.FilePath(DesignKind::Component).toStdString();
  }
  if (designs.HasUnsavedChanges(DesignKind::Facility)) {
    work->facility = designs.ShownFacility();
    work->facilityOrigin = designs.FilePath(DesignKind::Facility).toStdString();
  }
  worker_.start([this, work] {
    // A copy that cannot be written keeps the last one; the next change tries again.
    std::string error;
    if (work->component) {
      folder_.Write(*work->component, work->componentOrigin, error);
    } else {
      folder_.Remove(DesignKind::Component);
    }
    if (work->facility) {
      folder_.Write(*work->facility, work->facilityOrigin, error);
    } else {
      folder_.Remove(DesignKind::Facility);
    }
  });
}

void DesignRecovery::Close() {
  timer_.stop();
  closed_ = true;
  Wait();
  folder_.Close();
}

void DesignRecovery::OfferOrphans() {
  if (!IsOpen()) return;
  for (Orphan& orphan : folder_.FindOrphans()) {
    QStringList lines;
    for (const auto* copy : {&orphan.component, &orphan.facility}) {
      if (*copy) lines << Describe(**copy);
    }
    const QString text = QStringLiteral("Vorlane was closed without saving your design.\n\n") + lines.join(u'\n') +
                         QStringLiteral("\n\nRestore brings it back as unsaved changes; Discard deletes it for good.");
    const int answer = hq_.services().Choose(&hq_.Host(), text, {QStringLiteral("&Restore"), QStringLiteral("&Discard")});
    if (answer == 1) {
      Wait();
      folder_.Delete(orphan);
      continue;
    }
    if (answer != 0) continue;  // undecided: offered again at the next start
    for (const auto* copy : {&orphan.component, &orphan.facility}) {
      if (*copy) hq_.Designs().Restore((*copy)->design, Q((*copy)->origin));
    }
    // This instance's own copy first, then the old one goes.
    Flush();
    Wait();
    folder_.Delete(orphan);
    return;
  }
}

}  // namespace vorlane
