#include "gui/CurvePanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QSplitter>
#include <algorithm>
#include <cmath>

#include "gui/CurveView.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

QString Label(const CurveDesign& design, const FieldPlace& field) {
  return QString::fromStdString(std::visit([&](const auto& r) { return FieldLabel(r, field); }, design));
}

// Grid sizes as generation reads them; empty outside a grid.
std::vector<int> GridSizes(const CurveDesign& design) {
  return std::visit(
      [](const auto& r) {
        std::vector<int> sizes;
        if (!r.IsGrid()) return sizes;
        sizes.push_back(0);
        for (std::int16_t i = 1; i <= r.NumTechReqs(); ++i) {
          const double size = std::floor(LeadingNumber(r.TechReqGridSize(i).value_or("")));
          sizes.push_back(static_cast<int>(std::clamp(size, 0.0, 32767.0)));
        }
        return sizes;
      },
      design);
}

}  // namespace

CurvePanel::CurvePanel(std::function<CurveDesign()> snapshot, QWidget* parent)
    : QWidget(parent), snapshot_(std::move(snapshot)) {
  setObjectName(QStringLiteral("curvePanel"));
  jobs_ = new LatestJob<SeriesResult>(this);
  jobs_->SetReceiver([this](int request, const SeriesResult& result) { Show(request, result); });
  auto* layout = new QHBoxLayout(this);
  auto* splitter = new QSplitter(this);
  layout->addWidget(splitter);

  auto* side = new QWidget(splitter);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(new QLabel(QStringLiteral("Fields:"), side));
  fields_ = new QListWidget(side);
  fields_->setObjectName(QStringLiteral("lstCurveFields"));
  sideLayout->addWidget(fields_, 1);
  gridBox_ = new QWidget(side);
  gridLayout_ = new QGridLayout(gridBox_);
  gridLayout_->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(gridBox_);
  view_ = new CurveView(splitter);
  splitter->addWidget(side);
  splitter->addWidget(view_);
  splitter->setStretchFactor(1, 1);
  // The chart takes most of the room; the list shows the start of each label.
  splitter->setSizes({190, 430});

  connect(fields_, &QListWidget::itemChanged, this, [this] {
    if (!rebuilding_) Recompute();
  });
  RecordChanged();
}

CurvePanel::~CurvePanel() = default;

void CurvePanel::RecordChanged() {
  design_ = snapshot_();
  RebuildFields(design_);
  RebuildGrid(design_);
  Recompute();
}

void CurvePanel::RebuildFields(const CurveDesign& design) {
  const std::vector<FieldPlace> chosen = places_.empty() ? std::vector<FieldPlace>{{"", 0, "MinCost"}} : ChosenFields();
  const std::vector<FieldPlace> places = std::visit([](const auto& r) { return CurveFields(r); }, design);
  rebuilding_ = true;
  if (places != places_) {
    places_ = places;
    fields_->clear();
    for (const FieldPlace& place : places_) {
      auto* item = new QListWidgetItem(Label(design, place), fields_);
      item->setToolTip(item->text());
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      const bool on = std::find(chosen.begin(), chosen.end(), place) != chosen.end();
      item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
  } else {
    for (int i = 0; i < fields_->count(); ++i) {
      fields_->item(i)->setText(Label(design, places_[static_cast<std::size_t>(i)]));
    }
  }
  rebuilding_ = false;
}

void CurvePanel::RebuildGrid(const CurveDesign& design) {
  std::vector<int> sizes = GridSizes(design);
  if (sizes.size() == gridSizes_.size()) {
    // Same requirements: only the ranges may have changed.
    gridSizes_ = sizes;
    for (std::size_t i = 1; i < sizes.size(); ++i) held_[i - 1]->setRange(1, std::max(1, sizes[i]));
    return;
  }
  gridSizes_ = std::move(sizes);
  rebuilding_ = true;
  while (QLayoutItem* item = gridLayout_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  held_.clear();
  varying_ = nullptr;
  gridBox_->setVisible(gridSizes_.size() > 1);
  if (gridSizes_.size() > 1) {
    gridLayout_->addWidget(new QLabel(QStringLiteral("Varying:"), gridBox_), 0, 0);
    varying_ = new QComboBox(gridBox_);
    varying_->setObjectName(QStringLiteral("cboCurveVarying"));
    gridLayout_->addWidget(varying_, 0, 1);
    for (std::size_t i = 1; i < gridSizes_.size(); ++i) {
      const QString name = QStringLiteral("Tech Req %1").arg(i);
      varying_->addItem(name);
      gridLayout_->addWidget(new QLabel(name + QStringLiteral(" held at:"), gridBox_), static_cast<int>(i), 0);
      auto* spin = new QSpinBox(gridBox_);
      spin->setObjectName(QStringLiteral("spnCurveHeld%1").arg(i));
      spin->setRange(1, std::max(1, gridSizes_[i]));
      gridLayout_->addWidget(spin, static_cast<int>(i), 1);
      held_.push_back(spin);
      connect(spin, &QSpinBox::valueChanged, this, [this] {
        if (!rebuilding_) Recompute();
      });
    }
    connect(varying_, &QComboBox::currentIndexChanged, this, [this](int index) {
      for (std::size_t i = 0; i < held_.size(); ++i) held_[i]->setEnabled(static_cast<int>(i) != index);
      if (!rebuilding_) Recompute();
    });
    held_[0]->setEnabled(false);
  }
  rebuilding_ = false;
}

SeriesAxis CurvePanel::Axis() const {
  SeriesAxis axis;
  if (!varying_) return axis;
  axis.requirement = varying_->currentIndex() + 1;
  for (QSpinBox* spin : held_) axis.held.push_back(spin->value());
  return axis;
}

std::vector<FieldPlace> CurvePanel::ChosenFields() const {
  std::vector<FieldPlace> chosen;
  for (int i = 0; i < fields_->count(); ++i) {
    if (fields_->item(i)->checkState() == Qt::Checked) chosen.push_back(places_[static_cast<std::size_t>(i)]);
  }
  return chosen;
}

void CurvePanel::SetChosenFields(const std::vector<FieldPlace>& fields) {
  rebuilding_ = true;
  for (int i = 0; i < fields_->count(); ++i) {
    const bool on = std::find(fields.begin(), fields.end(), places_[static_cast<std::size_t>(i)]) != fields.end();
    fields_->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
  rebuilding_ = false;
  Recompute();
}

void CurvePanel::SetVaryingRequirement(int requirement) {
  if (varying_) varying_->setCurrentIndex(requirement - 1);
}

void CurvePanel::SetHeldPosition(int requirement, int position) {
  if (requirement >= 1 && requirement <= static_cast<int>(held_.size())) {
    held_[static_cast<std::size_t>(requirement - 1)]->setValue(position);
  }
}

void CurvePanel::Recompute() {
  const std::vector<FieldPlace> fields = ChosenFields();
  if (fields.empty()) {
    shown_ = jobs_->Skip();
    view_->SetMessage(QStringLiteral("Choose a field to see its values over the levels."));
    emit CurvesShown(shown_);
    return;
  }
  jobs_->Start([design = design_, fields, axis = Axis()](const std::atomic<bool>& cancel) {
    return std::visit([&](const auto& r) { return MakeSeries(r, fields, axis, &cancel); }, design);
  });
}

void CurvePanel::Show(int request, const SeriesResult& result) {
  shown_ = request;
  if (result.status == GenerationStatus::Failed) {
    QString why = QStringLiteral("The design does not generate");
    if (result.fault) why += QStringLiteral(":\n") + QString::fromStdString(result.fault->Line());
    view_->SetMessage(why);
  } else if (result.status == GenerationStatus::Generated) {
    QStringList points;
    for (const std::string& p : result.points) points << QString::fromStdString(p);
    std::vector<CurveSeries> series;
    for (const Series& s : result.series) series.push_back({QString::fromStdString(s.label), s.values});
    view_->SetCurves(points, series, gridSizes_.size() > 1 ? QStringLiteral("Cell") : QStringLiteral("Level"));
  }
  emit CurvesShown(request);
}

}  // namespace vorlane
