#include "wizard/frmCompVehicleType.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QVBoxLayout>

#include "generate/DesignCheck.h"
#include "gui/PageParts.h"
#include "gui/Services.h"

namespace vorlane {

namespace {

const std::array<QString, frmCompVehicleType::kTypes> kCaptions{
    QStringLiteral("&Ship"),    QStringLiteral("Bas&e"), QStringLiteral("S&atellite"), QStringLiteral("&Weapon Platform"),
    QStringLiteral("&Fighter"), QStringLiteral("&Mine"), QStringLiteral("&Troop"),     QStringLiteral("&Drone")};

// The text that stands for box `i` in the stored list.
QString StoredName(int i) {
  const std::string_view name = kVehicleTypeNames[static_cast<std::size_t>(i)];
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

frmCompVehicleType::frmCompVehicleType(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmCompVehicleType"));
  setWindowTitle(kComponentDesignTitle + QStringLiteral(" - Vehicle Type"));

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblBasicInfo",
      QStringLiteral("Check the box for each type of vehicle for which you want to make your vehicle available.")));
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  for (int i = 0; i < kTypes; ++i) {
    auto* box = new QCheckBox(kCaptions[static_cast<std::size_t>(i)], Body());
    box->setObjectName(QStringLiteral("chkVType(%1)").arg(i));
    chkVType_[static_cast<std::size_t>(i)] = box;
    grid->addWidget(box, i % 4, i / 4);  // two columns of four
  }

  // A box is set when its name occurs anywhere in the stored list, letter
  // case included.
  stored_ = Component().VehicleType();
  const QString stored = Q(stored_);
  for (int i = 0; i < kTypes; ++i)
    chkVType_[static_cast<std::size_t>(i)]->setChecked(stored.contains(StoredName(i), Qt::CaseSensitive));
  storedBoxes_ = Boxes();
}

std::array<bool, frmCompVehicleType::kTypes> frmCompVehicleType::Boxes() const {
  std::array<bool, kTypes> boxes{};
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i] = chkVType_[i]->isChecked();
  return boxes;
}

QString frmCompVehicleType::BuildList() const {
  QString list;
  for (int i = 0; i < kTypes; ++i) {
    if (!chkVType_[static_cast<std::size_t>(i)]->isChecked()) continue;
    if (!list.isEmpty()) list += QStringLiteral(", ");
    list += chkVType_[static_cast<std::size_t>(i)]->text();
  }
  list.remove(QLatin1Char('&'));
  list.replace(QStringLiteral("Weapon Platform"), QStringLiteral("WeapPlatform"));
  return list;
}

bool frmCompVehicleType::CheckFields() {
  if (!BuildList().isEmpty()) return true;
  session().services().Inform(this, Q(page_text::kVehicleTypeMissing));
  return false;
}

// Boxes left as they were keep the stored list as it was written.
void frmCompVehicleType::SaveFields() {
  Component().SetVehicleType(Boxes() == storedBoxes_ ? stored_ : S(BuildList()));
}

// Back refuses to leave, like Next, while no box is set.
void frmCompVehicleType::OnBack() {
  if (!CheckFields()) return;
  WizardPage::OnBack();
}

}  // namespace vorlane
