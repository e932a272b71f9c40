// The real-world check's parts for the bench: the list the search answers,
// its buttons, and what they do with the chosen row.
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/accessibility.h"
#include "app/canvas_view.h"
#include "app/check_window.h"
#include "app/export_dialog.h"
#include "app/shell.h"
#include "app/simulation_panel.h"
#include "design/adjustment.h"
#include "format/engineering.h"
#include "report/figures.h"
#include "state/global.h"

namespace timer555 {

namespace {

// The parts table: choosing a row while the keyboard is elsewhere (the
// search has answered) must not tell a reader the table has the focus.
class PartsTableWidget final : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
    if (hasFocus()) {
      QTableWidget::currentChanged(current, previous);
      return;
    }
    // Past the table view's own, which tells a reader of the focus.
    QAbstractItemView::currentChanged(current, previous);  // NOLINT(bugprone-parent-virtual-call)
  }
};

}  // namespace

QHBoxLayout* TfmCheck::BuildPartsButtons() {
  auto* buttons = new QHBoxLayout;
  applyParts_ = new QPushButton("Apply");
  applyParts_->setAccessibleName("Apply the chosen parts");
  copyParts_ = new QPushButton("Copy parts list");
  copyParts_->setAccessibleName("Copy parts list");
  exportParts_ = new QPushButton("Export\u2026");
  exportParts_->setAccessibleName("Export the chosen parts");
  exportParts_->setAccessibleDescription(
      "A KiCad schematic, a bill of materials and a design sheet of the chosen parts");
  buttons->addWidget(applyParts_);
  buttons->addWidget(copyParts_);
  buttons->addWidget(exportParts_);
  buttons->addStretch(1);
  return buttons;
}

QWidget* TfmCheck::BuildParts() {
  auto* box = new QGroupBox("Parts for the bench");
  auto* layout = new QVBoxLayout(box);
  auto* series = new QHBoxLayout;
  capacitors_ = new QComboBox;
  for (CapacitorSeries c : {CapacitorSeries::E3, CapacitorSeries::E6, CapacitorSeries::E12})
    capacitors_->addItem(CapacitorSeriesName(c));
  capacitors_->setCurrentIndex(1);
  capacitors_->setAccessibleName("Capacitor series");
  auto* capacitorsLabel = new QLabel("Capacitors");
  capacitorsLabel->setBuddy(capacitors_);
  series->addWidget(capacitorsLabel);
  series->addWidget(capacitors_);
  kinds_ = new QComboBox;
  for (const CapacitorKinds& k : CapacitorKindChoices())
    kinds_->addItem(k.label);
  kinds_->setAccessibleName("Capacitor kinds");
  auto* kindsLabel = new QLabel("Kinds");
  kindsLabel->setBuddy(kinds_);
  series->addWidget(kindsLabel);
  series->addWidget(kinds_);
  series->addStretch(1);
  layout->addLayout(series);
  partsStatus_ = new QLabel;
  partsStatus_->setWordWrap(true);
  partsStatus_->setAccessibleDescription("Parts status");
  layout->addWidget(partsStatus_);
  partsTable_ = new PartsTableWidget(0, 6);
  partsTable_->setHorizontalHeaderLabels({"C1", "R1", "R2", "Built circuit", "Error", "Yield"});
  partsTable_->verticalHeader()->setVisible(false);
  partsTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
  partsTable_->setSelectionMode(QAbstractItemView::SingleSelection);
  partsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The arrows choose a row; Tab goes on to the buttons instead of the cells.
  partsTable_->setTabKeyNavigation(false);
  partsTable_->setAccessibleName("Parts for the bench");
  partsTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  partsTable_->setMinimumHeight(partsTable_->fontMetrics().lineSpacing() * 8);
  layout->addWidget(partsTable_);
  layout->addLayout(BuildPartsButtons());
  histogram_ = new CanvasView(kHistogramWidth, kHistogramHeight, "Yield histogram",
                              "The chosen parts' spread appears here.");
  layout->addWidget(histogram_, 1);
  connect(partsTable_, &QTableWidget::itemSelectionChanged, this, [this] { ChooseParts(); });
  connect(applyParts_, &QPushButton::clicked, this, [this] { ApplyParts(); });
  connect(copyParts_, &QPushButton::clicked, this, [this] { CopyParts(); });
  connect(exportParts_, &QPushButton::clicked, this, [this] { ExportParts(); });
  connect(capacitors_, &QComboBox::currentIndexChanged, this, [this] { SearchParts(); });
  connect(kinds_, &QComboBox::currentIndexChanged, this, [this] { SearchParts(); });
  DescribeChoice(capacitors_);
  DescribeChoice(kinds_);
  return box;
}

void TfmCheck::SearchParts() {
  if (!design_) {
    partsQuestion_.reset();
    partsAnswer_.reset();
    partsTable_->setRowCount(0);
    ShowText(partsStatus_, "");
    ChooseParts();
    return;
  }
  PartsQuestion question;
  question.target = *design_;
  question.bench.conditions = settings_.conditions;
  question.bench.conditions.celsius = kNominalCelsius;
  question.bench.tolerance = settings_.tolerance;
  question.resistors = settings_.series;
  question.capacitors = static_cast<CapacitorSeries>(capacitors_->currentIndex());
  question.bench.capacitorTypes =
      CapacitorKindChoices()[static_cast<size_t>(std::max(0, kinds_->currentIndex()))].types;
  if (partsQuestion_ == question && (partsAnswer_ || search_.Busy())) return;
  partsQuestion_ = question;
  partsAnswer_.reset();
  if (search_.Busy()) {
    askAgain_ = true;
    return;
  }
  ShowText(partsStatus_, "Searching\u2026");
  search_.Start(
      [question] {
        return FindParts(question.target, question.bench, question.resistors, question.capacitors);
      },
      [this, question](PartsAnswer answer) { ShowParts(question, std::move(answer)); });
}

void TfmCheck::ShowParts(const PartsQuestion& question, PartsAnswer answer) {
  // An answer to a question no longer asked is dropped, and the one now
  // asked is put instead.
  if (askAgain_ || !(partsQuestion_ == question)) {
    askAgain_ = false;
    partsQuestion_.reset();
    SearchParts();
    return;
  }
  partsAnswer_ = std::move(answer);
  const DesignTraits& traits = TraitsOf(question.target.kind);
  ShowText(partsStatus_, !partsAnswer_->reachable ? Text("Cannot be met. " + partsAnswer_->why +
                                                         " " + partsAnswer_->instead)
                         : partsAnswer_->clean
                             ? "Every choice keeps every limit; best first by the built circuit's "
                               "predicted timing at the worse end of its band."
                             : "No choice keeps every limit: the least bad, with what they break.");
  partsTable_->setRowCount(static_cast<int>(partsAnswer_->choices.size()));
  const auto item = [](const std::string& text) {
    auto* cell = new QTableWidgetItem(Text(text));
    cell->setToolTip(Text(text));
    return cell;
  };
  for (int row = 0; row < static_cast<int>(partsAnswer_->choices.size()); ++row) {
    const PartsChoice& c = partsAnswer_->choices[static_cast<size_t>(row)];
    const std::string r2 = !traits.hasR2 ? "-"
                           : traits.resistorPair
                               ? EngineeringText(c.r2.value_or(0), "\u03a9")
                               : EngineeringText(c.r2.value_or(0), "\u03a9") + " pull-up";
    partsTable_->setItem(row, 0,
                         item(EngineeringText(c.c1, "F") + " " + TechnologyText(c.capacitor)));
    partsTable_->setItem(row, 1, item(EngineeringText(c.r1, "\u03a9")));
    partsTable_->setItem(row, 2, item(r2));
    partsTable_->setItem(row, 3, item(TimingText(question.target.kind, c.predicted)));
    partsTable_->setItem(
        row, 4, item(FixedText(c.error * 100, 2) + " %" + (c.onTarget ? "" : ", off target")));
    partsTable_->setItem(row, 5, item(FixedText(c.spread.yield * 100, 1) + " %"));
  }
  // After Apply the row of the applied parts stays chosen (the search has
  // answered for the new design), so that Copy parts list copies them.
  int chosen = 0;
  for (int row = 0; applied_ && row < static_cast<int>(partsAnswer_->choices.size()); ++row) {
    const PartsChoice& c = partsAnswer_->choices[static_cast<size_t>(row)];
    if (c.c1 == applied_->c1 && c.r1 == applied_->r1 && c.r2 == applied_->r2) chosen = row;
  }
  applied_.reset();
  if (partsTable_->rowCount() > 0) partsTable_->selectRow(chosen);
  ChooseParts();
}

const PartsChoice* TfmCheck::ChosenParts() const {
  const int row = partsTable_->currentRow();
  if (!partsAnswer_ || !partsQuestion_ || row < 0 ||
      row >= static_cast<int>(partsAnswer_->choices.size()))
    return nullptr;
  return &partsAnswer_->choices[static_cast<size_t>(row)];
}

void TfmCheck::ChooseParts() {
  const PartsChoice* chosen = ChosenParts();
  copyParts_->setEnabled(chosen != nullptr);
  exportParts_->setEnabled(chosen != nullptr);
  applyParts_->setEnabled(false);
  if (chosen == nullptr) {
    histogram_->Clear();
    applyParts_->setToolTip("");
    applyParts_->setAccessibleDescription("");
    return;
  }
  const PartsChoice& c = *chosen;
  const PartsQuestion question = *partsQuestion_;
  const bool pair = TraitsOf(question.target.kind).resistorPair;
  const PartsReach reach = ReachParts(shell_.TypedDesign(), c.c1, c.r1, pair ? c.r2 : std::nullopt);
  applyParts_->setEnabled(reach.reachable);
  const QString why = reach.reachable
                          ? "Enter these parts as the window would: the C1 arrows, then the "
                            "adjustment dialog"
                          : "Not reachable from the window: " + Text(reach.reason);
  applyParts_->setToolTip(why);
  applyParts_->setAccessibleDescription(why);
  histogram_->Show(
      [question, c](Canvas& canvas, double scale) { DrawHistogram(canvas, question, c, scale); },
      Text(PartsChoiceText(question.target.kind, question.bench.conditions.family, c)));
}

void TfmCheck::ApplyParts() {
  const PartsChoice* chosen = ChosenParts();
  if (chosen == nullptr) return;
  // A copy: applying changes the design, and the search answers anew.
  const PartsChoice c = *chosen;
  applied_ = c;
  const bool pair = TraitsOf(partsQuestion_->target.kind).resistorPair;
  const auto apply = [&] { shell_.ApplyParts(c.c1, c.r1, pair ? c.r2 : std::nullopt); };
  if (guard_) {
    guard_(apply);
  } else {
    apply();
    SetDesign(shell_.CheckedDesign());
  }
}

void TfmCheck::CopyParts() {
  if (const PartsChoice* chosen = ChosenParts())
    QGuiApplication::clipboard()->setText(
        Text(PartsListText(partsQuestion_->target.kind, *chosen, settings_.tolerance)));
}

void TfmCheck::ExportParts() {
  const PartsChoice* chosen = ChosenParts();
  if (chosen == nullptr) return;
  const PartsQuestion question = *partsQuestion_;
  const DesignKind kind = question.target.kind;
  ExportDialog dialog(WindowExportJob(question, WithChoice(question.target, *chosen), simulation_),
                      Text(ChoicePartsText(kind, *chosen)) + " (" + SheetTitle(kind) + ")",
                      "timer555-design" + QString::number(DesignNumber(kind)), this);
  const FocusReturn back;
  dialog.exec();
}

}  // namespace timer555
