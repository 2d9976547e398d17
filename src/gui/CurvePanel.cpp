#include "gui/CurvePanel.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "gui/CurveView.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// What the chart says while its values are made.
const QString kComputing = QStringLiteral("Computing…");

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

// The fields a curve can show, one checkable row each; the labels are made
// as rows are shown, so a design of 32,767 abilities lists them at once.
class CurveFieldModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  // New fields; the chosen ones ticked.
  void Reset(std::vector<FieldPlace> places, const std::vector<FieldPlace>& chosen, const CurveDesign& design) {
    beginResetModel();
    places_ = std::move(places);
    // The labels need the kind of record only.
    design_ = std::visit([](const auto& r) { return CurveDesign(std::decay_t<decltype(r)>{}); }, design);
    ticked_.assign(places_.size(), 0);
    for (std::size_t i = 0; i < places_.size(); ++i) {
      ticked_[i] = std::find(chosen.begin(), chosen.end(), places_[i]) != chosen.end();
    }
    endResetModel();
  }
  void Tick(const std::vector<FieldPlace>& chosen) {
    for (std::size_t i = 0; i < places_.size(); ++i) {
      ticked_[i] = std::find(chosen.begin(), chosen.end(), places_[i]) != chosen.end();
    }
    if (!places_.empty()) emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
  }
  std::vector<FieldPlace> Chosen() const {
    std::vector<FieldPlace> chosen;
    for (std::size_t i = 0; i < places_.size(); ++i) {
      if (ticked_[i]) chosen.push_back(places_[i]);
    }
    return chosen;
  }
  const std::vector<FieldPlace>& Places() const { return places_; }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(places_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return Label(design_, places_[row]);
    if (role == Qt::CheckStateRole) return ticked_[row] ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (!index.isValid() || role != Qt::CheckStateRole) return false;
    ticked_[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

 private:
  std::vector<FieldPlace> places_;
  std::vector<char> ticked_;
  CurveDesign design_;
};

CurvePanel::CurvePanel(std::function<CurveDesign()> snapshot, QWidget* parent)
    : QWidget(parent), snapshot_(std::move(snapshot)) {
  setObjectName(QStringLiteral("curvePanel"));
  jobs_ = new LatestJob<SeriesResult>(this);
  jobs_->SetReceiver([this](int request, const SeriesResult& result) { Show(request, result); });
  computingNote_ = new QTimer(this);
  computingNote_->setSingleShot(true);
  computingNote_->setInterval(300);
  connect(computingNote_, &QTimer::timeout, this, [this] { view_->SetMessage(kComputing); });
  auto* layout = new QHBoxLayout(this);
  auto* splitter = new QSplitter(this);
  layout->addWidget(splitter);

  auto* side = new QWidget(splitter);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(new QLabel(QStringLiteral("Fields:"), side));
  model_ = new CurveFieldModel(this);
  fields_ = new QListView(side);
  fields_->setObjectName(QStringLiteral("lstCurveFields"));
  fields_->setModel(model_);
  fields_->setUniformItemSizes(true);
  // Labels whole: the list scrolls sideways rather than cut them.
  fields_->setTextElideMode(Qt::ElideNone);
  fields_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

  connect(model_, &QAbstractItemModel::dataChanged, this, [this] {
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

// The fields depend on the design's kind and list lengths only; their labels
// on the fields only.
void CurvePanel::RebuildFields(const CurveDesign& design) {
  const auto shape = std::visit(
      [](const auto& r) { return std::array<int, 3>{r.IsGrid() ? 1 : 0, r.NumTechReqs(), r.NumAbils()}; }, design);
  if (model_->rowCount() > 0 && shape == fieldsShape_) return;
  fieldsShape_ = shape;
  const std::vector<FieldPlace> chosen =
      model_->rowCount() == 0 ? std::vector<FieldPlace>{{"", 0, "MinCost"}} : ChosenFields();
  rebuilding_ = true;
  std::vector<FieldPlace> places = std::visit([](const auto& r) { return CurveFields(r); }, design);
  // Room for the labels whole: the list's labels follow a few patterns, so
  // the plain fields and each list's last entry give the widest.
  const QFontMetrics metrics(fields_->font());
  int widest = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    // Each list's rows, last entry first; one entry of a list is enough.
    const bool sample = places[i].list.empty() || i + 4 >= places.size() || places[i + 4].list != places[i].list;
    if (sample) widest = std::max(widest, metrics.horizontalAdvance(Label(design, places[i])));
  }
  fields_->setMinimumWidth(std::min(widest + 48, 340));
  model_->Reset(std::move(places), chosen, design);
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

std::vector<FieldPlace> CurvePanel::ChosenFields() const { return model_->Chosen(); }

void CurvePanel::SetChosenFields(const std::vector<FieldPlace>& fields) {
  rebuilding_ = true;
  model_->Tick(fields);
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
    computingNote_->stop();
    shown_ = jobs_->Skip();
    view_->SetMessage(QStringLiteral("Choose a field to see its values over the levels."));
    emit CurvesShown(shown_);
    return;
  }
  jobs_->Start([design = design_, fields, axis = Axis()](const std::atomic<bool>& cancel) {
    return std::visit([&](const auto& r) { return MakeSeries(r, fields, axis, &cancel); }, design);
  });
  // A message shown (the first curves, or why there were none) would mislead
  // now; curves shown stay a moment, so that typing does not flicker.
  if (!view_->Message().isEmpty()) {
    view_->SetMessage(kComputing);
  } else {
    computingNote_->start();
  }
}

void CurvePanel::Show(int request, const SeriesResult& result) {
  shown_ = request;
  computingNote_->stop();
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
