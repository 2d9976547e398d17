#include "wizard/frmCompWeaponInfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/Bitmaps.h"
#include "gui/PageParts.h"
#include "gui/Services.h"
#include "records/FieldChoices.h"
#include "settings/CombatDisplay.h"
#include "settings/PictureLookup.h"
#include "settings/SoundLookup.h"

namespace vorlane {

const std::array<const char*, 6> frmCompWeaponInfo::kTargetNames = {
    choices::kWeaponTargets[0].data(), choices::kWeaponTargets[1].data(), choices::kWeaponTargets[2].data(),
    choices::kWeaponTargets[3].data(), choices::kWeaponTargets[4].data(), choices::kWeaponTargets[5].data()};
static_assert(std::size(choices::kWeaponTargets) == 6);

namespace {

const QString kNone = QStringLiteral("None");
const QString kDisplayNumberCaption = QStringLiteral("Display Number - ");

// The 40 by 40 viewport onto the combat strip; where the strip does not cover
// it, the "CircleSlash" sign shows through.
class CombatViewport : public QWidget {
 public:
  explicit CombatViewport(QWidget* parent) : QWidget(parent) {
    setFixedSize(kCombatCellSize, kCombatCellSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CircleSlashBitmap());
  }
};

// The picture inside the viewport. It draws its pixmap stretched to its own
// size and never greyed: the preview stays readable while the weapon
// controls around it are disabled.
class CombatImage : public QWidget {
 public:
  explicit CombatImage(QWidget* parent) : QWidget(parent) {}
  void SetPixmap(const QPixmap& pixmap) {
    pixmap_ = pixmap;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(rect(), pixmap_);
  }

 private:
  QPixmap pixmap_;
};

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The Sounds folder below a game or mod directory, found without regard to
// letter case; as written when it does not exist.
QString SoundsFolder(const std::string& dir) {
  std::error_code error;
  if (auto found = FindBelowIgnoringCase(dir, {"Sounds"}, false, error)) return QFileInfo(*found).filePath();
  return QDir(FromStd(dir)).filePath(QStringLiteral("Sounds"));
}

}  // namespace

frmCompWeaponInfo::frmCompWeaponInfo(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmCompWeaponInfo"));
  setWindowTitle(QStringLiteral("Vorlane - v2.0 - Component Design - Weapon Information"));

  auto* layout = new QVBoxLayout(Body());
  lblWeaponInfo_ = MakeLabel(Body(), "lblWeaponInfo", QStringLiteral("Next, enter any basic weapon information."));
  layout->addWidget(lblWeaponInfo_);

  auto* top = new QGridLayout;
  lblWeapType_ = MakeLabel(Body(), "lblWeapType", QStringLiteral("Weapon Type"));
  cboWeapType_ = new QComboBox(Body());
  cboWeapType_->setObjectName(QStringLiteral("cboWeapType"));
  for (std::string_view type : choices::kWeaponTypes) cboWeapType_->addItem(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())));
  lblWeapFam_ = MakeLabel(Body(), "lblWeapFam", QStringLiteral("Weapon Family"));
  txtWeapFam_ = MakeTextBox(Body(), "txtWeapFam");
  top->addWidget(lblWeapType_, 0, 0);
  top->addWidget(cboWeapType_, 0, 1);
  top->addWidget(lblWeapFam_, 0, 2);
  top->addWidget(txtWeapFam_, 0, 3);
  top->setColumnStretch(3, 1);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  frmWeapTarg_ = new QGroupBox(QStringLiteral("Weapon Target"), Body());
  frmWeapTarg_->setObjectName(QStringLiteral("frmWeapTarg"));
  auto* targets = new QGridLayout(frmWeapTarg_);
  const char* captions[] = {"&Ships", "&Planets", "S&eekers", "&Fighters", "S&atellites", "&Drones"};
  for (int i = 0; i < 6; ++i) {
    auto* box = new QCheckBox(QString::fromLatin1(captions[i]), frmWeapTarg_);
    box->setObjectName(QStringLiteral("chkWeapTarg(%1)").arg(i));
    targets->addWidget(box, i % 3, i / 3);
    chkWeapTarg_[static_cast<std::size_t>(i)] = box;
  }
  middle->addWidget(frmWeapTarg_);

  auto* display = new QVBoxLayout;
  auto* displayType = new QHBoxLayout;
  lblDispType_ = MakeLabel(Body(), "lblDispType", QStringLiteral("Display Type"));
  cboDispType_ = new QComboBox(Body());
  cboDispType_->setObjectName(QStringLiteral("cboDispType"));
  for (std::string_view type : choices::kDisplayTypes) cboDispType_->addItem(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())));
  displayType->addWidget(lblDispType_);
  displayType->addWidget(cboDispType_, 1);
  display->addLayout(displayType);

  frmDispNum_ = new QGroupBox(kDisplayNumberCaption + QStringLiteral("0"), Body());
  frmDispNum_->setObjectName(QStringLiteral("frmDispNum"));
  auto* number = new QGridLayout(frmDispNum_);
  sldDispNum_ = new QSlider(Qt::Horizontal, frmDispNum_);
  sldDispNum_->setObjectName(QStringLiteral("sldDispNum"));
  sldDispNum_->setRange(0, 500);
  sldDispNum_->setTickInterval(20);
  sldDispNum_->setTickPosition(QSlider::TicksBelow);
  sldDispNum_->setMinimumWidth(220);
  txtDispNum_ = MakeTextBox(frmDispNum_, "txtDispNum");
  pboxDispNum_ = new CombatViewport(frmDispNum_);
  pboxDispNum_->setObjectName(QStringLiteral("pboxDispNum"));
  imgPicture_ = new CombatImage(pboxDispNum_);
  imgPicture_->setObjectName(QStringLiteral("imgPicture"));
  number->addWidget(sldDispNum_, 0, 0, 1, 2);
  number->addWidget(txtDispNum_, 1, 0);
  number->addWidget(pboxDispNum_, 0, 2, 2, 1, Qt::AlignCenter);
  number->setColumnStretch(1, 1);
  display->addWidget(frmDispNum_);
  middle->addLayout(display, 1);
  layout->addLayout(middle);

  auto* sound = new QHBoxLayout;
  lblSoundFile_ = MakeLabel(Body(), "lblSoundFile", QStringLiteral("Weapon Sound"));
  txtSoundFile_ = MakeTextBox(Body(), "txtSoundFile");
  txtSoundFile_->setMinimumWidth(260);
  cmdBrowseSound_ = new QToolButton(Body());
  cmdBrowseSound_->setObjectName(QStringLiteral("cmdBrowseSound"));
  cmdBrowseSound_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  cmdBrowseSound_->setAccessibleName(QStringLiteral("Browse"));
  cmdPlay_ = new QPushButton(QStringLiteral("&Play"), Body());
  cmdPlay_->setObjectName(QStringLiteral("cmdPlay"));
  cmdPlay_->setAutoDefault(false);
  sound->addWidget(lblSoundFile_);
  sound->addWidget(txtSoundFile_, 1);
  sound->addWidget(cmdBrowseSound_);
  sound->addWidget(cmdPlay_);
  layout->addLayout(sound);
  // The line under the sound box keeps its room, so that a sign appearing
  // there moves nothing.
  lblPlayStatus_ = MakeLabel(Body(), "lblPlayStatus", QString());
  lblPlayStatus_->setMinimumHeight(lblPlayStatus_->fontMetrics().height());
  lblPlayStatus_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  layout->addWidget(lblPlayStatus_);

  // Until the weapon-type rule first runs, every weapon control is disabled.
  for (QWidget* w : std::initializer_list<QWidget*>{lblWeapFam_, txtWeapFam_, lblDispType_, cboDispType_, frmDispNum_,
                                                    lblSoundFile_, txtSoundFile_, cmdBrowseSound_, frmWeapTarg_}) {
    w->setEnabled(false);
  }

  connect(cboWeapType_, &QComboBox::currentIndexChanged, this, [this] { ApplyWeaponTypeRule(); });
  connect(cboDispType_, &QComboBox::currentIndexChanged, this, [this] { LoadCombatPicture(); });
  connect(sldDispNum_, &QSlider::valueChanged, this, [this] { SliderChanged(); });
  connect(txtDispNum_, &QLineEdit::textChanged, this, [this] { NumberBoxChanged(); });
  connect(cmdBrowseSound_, &QToolButton::clicked, this, [this] { BrowseSound(); });
  connect(cmdPlay_, &QPushButton::clicked, this, [this] { PlaySound(); });
  connect(txtSoundFile_, &QLineEdit::textChanged, lblPlayStatus_, &QLabel::clear);

  LoadFields();
}

void frmCompWeaponInfo::SelectItem(QComboBox* combo, const QString& text) {
  const QSignalBlocker blocker(combo);
  int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 && !text.isEmpty()) {
    // A value the list does not offer (from a design file, say) is kept.
    combo->addItem(text);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(index);
}

void frmCompWeaponInfo::LoadFields() {
  const vrlComponent& record = Component();
  SelectItem(cboWeapType_, FromStd(record.WeaponType()));
  ApplyWeaponTypeRule();
  txtWeapFam_->setText(FromStd(record.WeaponFamily()));
  SelectItem(cboDispType_, FromStd(record.WeaponDisplayType()));
  LoadCombatPicture();
  storedDisplayNum_ = record.WeaponDisplayNum();
  if (auto n = DisplayNumberFromText(record.WeaponDisplayNum())) {
    if (*n > sldDispNum_->maximum()) sldDispNum_->setMaximum(*n);
    sldDispNum_->setValue(*n);
    frmDispNum_->setTitle(kDisplayNumberCaption + QString::number(*n));
  } else {
    txtDispNum_->setText(FromStd(record.WeaponDisplayNum()));
  }
  ShowDisplayCell();
  txtSoundFile_->setText(FromStd(record.WeaponSound()));
  const QString targets = FromStd(record.WeaponTarget());
  for (std::size_t i = 0; i < chkWeapTarg_.size(); ++i) {
    chkWeapTarg_[i]->setChecked(targets.contains(QLatin1String(kTargetNames[i]), Qt::CaseSensitive));
  }
  storedTargets_ = targets;
  storedTargetText_ = WeaponTargetText();
}

void frmCompWeaponInfo::ApplyWeaponTypeRule() {
  const bool weapon = cboWeapType_->currentText() != kNone;
  for (QWidget* w : std::initializer_list<QWidget*>{lblWeapFam_, txtWeapFam_, lblDispType_, cboDispType_, frmDispNum_,
                                                    sldDispNum_, txtDispNum_, lblSoundFile_, txtSoundFile_,
                                                    cmdBrowseSound_, frmWeapTarg_}) {
    w->setEnabled(weapon);
  }
  for (QCheckBox* box : chkWeapTarg_) box->setEnabled(weapon);
}

void frmCompWeaponInfo::SetPicture(const QPixmap& pixmap, const QRect& geometry) {
  static_cast<CombatImage*>(imgPicture_)->SetPixmap(pixmap);
  imgPicture_->setGeometry(geometry);
}

void frmCompWeaponInfo::ShowSign() {
  SetPicture(CircleSlashBitmap(), QRect(0, 0, kCombatCellSize, kCombatCellSize));
  showingSign_ = true;
}

// Loads the strip of the chosen display type, mod directory first, at its
// shown size; a seeker, a missing strip or one that cannot be read shows the
// sign instead. The slider grows to reach every cell of a tall strip.
void frmCompWeaponInfo::LoadCombatPicture() {
  strip_ = QPixmap();
  const QString type = cboDispType_->currentText();
  if (type == QLatin1String("Seeker")) {
    ShowSign();
    return;
  }
  const PictureSearchResult found = FindCombatPicture(session().ModDir(), session().SEIVDir(), type.toStdString());
  if (!found.Found()) {
    ShowSign();
    return;
  }
  const QImage image(QFileInfo(found.file).filePath());
  const auto layout = image.isNull() ? std::nullopt
                      : found.source == PictureSource::ModDir
                          ? LayoutModStrip(image.width(), image.height(), sldDispNum_->maximum())
                          : LayoutBaseStrip(image.width(), image.height(), sldDispNum_->maximum());
  if (!layout) {
    ShowSign();
    return;
  }
  if (layout->sliderMax > sldDispNum_->maximum()) sldDispNum_->setMaximum(layout->sliderMax);
  if (layout->tickInterval) sldDispNum_->setTickInterval(std::max(1, *layout->tickInterval));
  strip_ = QPixmap::fromImage(image.scaled(layout->width, layout->height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  ShowDisplayCell();
}

void frmCompWeaponInfo::ShowDisplayCell() {
  if (usingFormula_) {
    ShowSign();
    return;
  }
  const int n = sldDispNum_->value();
  if (strip_.isNull()) {
    ShowSign();
  } else {
    const CombatCellOffset offset = DisplayCellOffset(n);
    SetPicture(strip_, QRect(offset.left, offset.top, strip_.width(), strip_.height()));
    showingSign_ = false;
  }
  frmDispNum_->setTitle(kDisplayNumberCaption + QString::number(n));
}

// Moving the slider makes its value the display number again. The cell and
// caption are shown in any case, so that a missing strip does not leave the
// caption saying that a formula is used.
void frmCompWeaponInfo::SliderChanged() {
  if (usingFormula_) {
    usingFormula_ = false;
    LoadCombatPicture();
  }
  ShowDisplayCell();
}

// A number in the box moves the slider; anything else (a formula, or nothing)
// becomes the display number as typed.
void frmCompWeaponInfo::NumberBoxChanged() {
  if (auto n = DisplayNumberFromText(txtDispNum_->text().toStdString())) {
    if (*n > sldDispNum_->maximum()) sldDispNum_->setMaximum(*n);
    sldDispNum_->setValue(*n);
    if (usingFormula_) {
      usingFormula_ = false;
      LoadCombatPicture();
    } else {
      ShowDisplayCell();
    }
    frmDispNum_->setTitle(kDisplayNumberCaption + QString::number(sldDispNum_->value()));
  } else {
    usingFormula_ = true;
    ShowDisplayCell();
    frmDispNum_->setTitle(kDisplayNumberCaption + QStringLiteral("(using formula)"));
  }
}

void frmCompWeaponInfo::BrowseSound() {
  QString start;
  if (!session().ModDir().empty()) {
    start = SoundsFolder(session().ModDir());
  } else if (!session().SEIVDir().empty()) {
    start = SoundsFolder(session().SEIVDir());
  } else {
    start = QFileInfo(session().ProgramDir()).filePath();
  }
  const QString chosen = session().services().OpenFileName(this, QStringLiteral("Select weapon sound file:"),
                                                      QStringLiteral("Wave files (*.wav)"), start);
  // A cancelled dialog leaves the box as it was. A sound in the mod's or the
  // game's Sounds folder is kept by the name the game looks it up by.
  if (chosen.isEmpty()) return;
  const auto name = SoundNameInSoundsFolder(chosen.toStdString(), session().ModDir(), session().SEIVDir());
  txtSoundFile_->setText(name ? FromStd(*name) : chosen);
}

// Plays the sound the box names, found as the game finds it; when it cannot be
// played, the line next to the button says why, and nothing waits for it.
void frmCompWeaponInfo::PlaySound() {
  const std::string stored = txtSoundFile_->text().toStdString();
  lblPlayStatus_->clear();
  if (stored.empty()) return;
  const auto file = FindSoundFile(stored, session().ModDir(), session().SEIVDir());
  if (!file) {
    lblPlayStatus_->setText(IsFullPath(stored) ? QStringLiteral("File not found")
                                               : QStringLiteral("Not in the Sounds folders"));
    return;
  }
  cmdPlay_->setEnabled(false);
  const bool played = session().services().PlaySound(this, QFileInfo(FromStd(file->string())).filePath());
  cmdPlay_->setEnabled(true);
  cmdPlay_->setFocus();
  if (!played) lblPlayStatus_->setText(QStringLiteral("No audio output or unreadable file"));
}

QString frmCompWeaponInfo::WeaponTargetText() const {
  QStringList names;
  for (std::size_t i = 0; i < chkWeapTarg_.size(); ++i) {
    if (chkWeapTarg_[i]->isChecked()) names << QLatin1String(kTargetNames[i]);
  }
  return names.join(QStringLiteral(", "));
}

void frmCompWeaponInfo::SaveFields() {
  vrlComponent& record = Component();
  record.SetWeaponType(cboWeapType_->currentText().toStdString());
  record.SetWeaponDisplayType(cboDispType_->currentText().toStdString());
  // A stored number written otherwise ("03") stays as written while the
  // slider shows its value; so do targets whose boxes were left alone.
  const bool numberKept = !usingFormula_ && DisplayNumberFromText(storedDisplayNum_) == sldDispNum_->value();
  record.SetWeaponDisplayNum(usingFormula_ ? txtDispNum_->text().toStdString()
                             : numberKept  ? storedDisplayNum_
                                           : std::to_string(sldDispNum_->value()));
  record.SetWeaponFamily(txtWeapFam_->text().toStdString());
  record.SetWeaponSound(txtSoundFile_->text().toStdString());
  const QString targets = WeaponTargetText();
  record.SetWeaponTarget((targets == storedTargetText_ ? storedTargets_ : targets).toStdString());
}

}  // namespace vorlane
