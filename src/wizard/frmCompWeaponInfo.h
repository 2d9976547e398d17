// The weapon information page of the component wizard: weapon type, family,
// targets, how the game draws the shot (display type and number, previewed
// from the game's combat pictures) and the weapon's sound. A weapon type of
// "None" makes the design a non-weapon and Next skips the other weapon pages.
#pragma once

#include <QPixmap>
#include <array>

#include "gui/WizardPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;

namespace vorlane {

class frmCompWeaponInfo : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompWeaponInfo(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompWeaponInfo; }

  static const std::array<const char*, 6> kTargetNames;

  // Page state: the display number is the text of txtDispNum, not the slider.
  bool UsingFormula() const { return usingFormula_; }

  QComboBox* cboWeapType() const { return cboWeapType_; }
  QComboBox* cboDispType() const { return cboDispType_; }
  QSlider* sldDispNum() const { return sldDispNum_; }
  QLineEdit* txtDispNum() const { return txtDispNum_; }
  QGroupBox* frmDispNum() const { return frmDispNum_; }
  QWidget* pboxDispNum() const { return pboxDispNum_; }
  QWidget* imgPicture() const { return imgPicture_; }
  QCheckBox* chkWeapTarg(int index) const { return chkWeapTarg_.at(static_cast<std::size_t>(index)); }
  // True while the preview shows the "CircleSlash" sign instead of a strip.
  bool ShowingSign() const { return showingSign_; }

 protected:
  void SaveFields() override;

 private:
  void LoadFields();
  void ApplyWeaponTypeRule();
  void LoadCombatPicture();
  void ShowDisplayCell();
  void ShowSign();
  void SetPicture(const QPixmap& pixmap, const QRect& geometry);
  void SliderChanged();
  void NumberBoxChanged();
  void BrowseSound();
  void PlaySound();
  QString WeaponTargetText() const;
  static void SelectItem(QComboBox* combo, const QString& text);

  QLabel* lblWeaponInfo_;
  QLabel* lblWeapType_;
  QComboBox* cboWeapType_;
  QLabel* lblWeapFam_;
  QLineEdit* txtWeapFam_;
  QGroupBox* frmWeapTarg_;
  std::array<QCheckBox*, 6> chkWeapTarg_{};
  QLabel* lblDispType_;
  QComboBox* cboDispType_;
  QGroupBox* frmDispNum_;
  QSlider* sldDispNum_;
  QLineEdit* txtDispNum_;
  QWidget* pboxDispNum_;
  QWidget* imgPicture_;
  QLabel* lblSoundFile_;
  QLineEdit* txtSoundFile_;
  QToolButton* cmdBrowseSound_;
  QPushButton* cmdPlay_;
  QLabel* lblPlayStatus_;  // one line next to Play when a sound cannot be played

  bool usingFormula_ = false;
  bool showingSign_ = true;
  QPixmap strip_;  // the loaded combat strip, already at its shown size
  // As stored: what an untouched page writes back unchanged.
  QString storedTargets_;
  QString storedTargetText_;
  std::string storedDisplayNum_;
};

}  // namespace vorlane
