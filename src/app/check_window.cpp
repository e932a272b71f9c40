#include "app/check_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/accessibility.h"
#include "app/canvas_view.h"
#include "app/export_dialog.h"
#include "app/shell.h"
#include "app/simulation_panel.h"
#include "design/adjustment.h"
#include "format/engineering.h"
#include "report/figures.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr TimingColumn kColumns[] = {kIdealColumn, kPredictedColumn, kSimulatedColumn};

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QDoubleSpinBox* Spin(double lo, double hi, double value, int decimals, const QString& suffix,
                     const QString& name) {
  auto* box = new QDoubleSpinBox;
  box->setRange(lo, hi);
  box->setDecimals(decimals);
  box->setValue(value);
  box->setSuffix(suffix);
  box->setAccessibleName(name);
  // The numbers read the same whatever the desktop's language.
  box->setLocale(QLocale::c());
  return box;
}

// A reader names a combo box by its label and does not say the choice in it
// (this toolkit's box reports no chosen item while closed): the choice goes
// in the description, which is said after the role, and a choice changed by
// the keyboard is announced.
void DescribeChoice(QComboBox* box) {
  box->setAccessibleDescription(box->currentText());
  QObject::connect(box, &QComboBox::currentTextChanged, box, [box](const QString& text) {
    box->setAccessibleDescription(text);
    if (box->hasFocus()) Announce(text, box);
  });
}

// The parts table: choosing a row while the keyboard is elsewhere (the
// search has answered) must not tell a reader the table has the focus.
class PartsTableWidget final : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
    if (hasFocus())
      QTableWidget::currentChanged(current, previous);
    else
      QAbstractItemView::currentChanged(current, previous);  // without the focus event
  }
};

}  // namespace

TfmCheck::TfmCheck(MainShell& shell, QWidget* parent) : QWidget(parent, Qt::Tool), shell_(shell) {
  setObjectName("fmCheck");
  setWindowTitle("Real-world check");
  // A desktop tool window of its own look: not the drawn window's control
  // face and white background.
  setFont(QApplication::font());
  setPalette(QApplication::palette());
  setAutoFillBackground(true);
  // Two columns keep the window short: the conditions and the timing on the
  // left, what follows from them on the right. They scroll where the screen
  // is smaller than they are; the window is resizable and keeps its size
  // when results arrive (the waveform's room is there from the start).
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  scroll_ = new QScrollArea;
  // The keyboard goes to the controls inside, which scroll into view; the
  // area itself is no stop of Tab (it would be one without a mark).
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setAccessibleName("Real-world check");
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_);
  auto* content = new QWidget;
  scroll_->setWidget(content);
  columns_ = new QBoxLayout(QBoxLayout::LeftToRight, content);
  auto* left = left_ = new QVBoxLayout;
  auto* right = right_ = new QVBoxLayout;
  columns_->addLayout(left);
  columns_->addLayout(right, 1);

  left->addWidget(BuildConditions());
  status_ = new QLabel;
  status_->setWordWrap(true);
  // A label reads its text; what it is goes in the description.
  status_->setAccessibleDescription("Design");
  left->addWidget(status_);
  left->addWidget(BuildFigures());
  auto* tolerance = new QGroupBox("Worst case");
  auto* toleranceLayout = new QVBoxLayout(tolerance);
  band_ = new QLabel;
  band_->setWordWrap(true);
  band_->setAccessibleDescription("Worst case");
  toleranceLayout->addWidget(band_);
  left->addWidget(tolerance);
  left->addStretch(1);

  auto* warnings = new QGroupBox("Warnings");
  auto* warningsLayout = new QVBoxLayout(warnings);
  warnings_ = new QLabel;
  warnings_->setWordWrap(true);
  warnings_->setAccessibleDescription("Warnings");
  warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  warnings_->setMinimumWidth(380);
  warningsLayout->addWidget(warnings_);
  right->addWidget(warnings);
  right->addWidget(BuildParts());
  simulation_ = new SimulationPanel;
  simulation_->SetResultHandler([this](const std::optional<Timing>& t) { ShowSimulated(t); });
  right->addWidget(simulation_);
  right->addStretch(1);
  SetDesign(shell_.CheckedDesign());
}

QWidget* TfmCheck::BuildConditions() {
  auto* conditions = new QGroupBox("Built with");
  auto* form = new QFormLayout(conditions);
  vcc_ =
      Spin(kSupplyBounds.lo, kSupplyBounds.hi, settings_.conditions.vcc, 1, " V", "Supply voltage");
  family_ = new QComboBox;
  family_->addItems({"bipolar (NE555 class)", "CMOS (7555 class)"});
  family_->setAccessibleName("Timer family");
  series_ = new QComboBox;
  for (Series s : {Series::E6, Series::E12, Series::E24, Series::E48, Series::E96})
    series_->addItem(SeriesName(s));
  series_->setCurrentIndex(static_cast<int>(settings_.series));
  series_->setAccessibleName("Resistor series");
  const ToleranceSpec& t = settings_.tolerance;
  const Bounds& tol = kToleranceBounds;
  const Bounds& deg = kTemperatureBounds;
  resistorTolerance_ = Spin(tol.lo, tol.hi, t.resistor * 100, 1, " %", "Resistor tolerance");
  capacitorTolerance_ = Spin(tol.lo, tol.hi, t.capacitor * 100, 1, " %", "Capacitor tolerance");
  minCelsius_ = Spin(deg.lo, deg.hi, t.minCelsius, 0, " \u00b0C", "Lowest temperature");
  maxCelsius_ = Spin(deg.lo, deg.hi, t.maxCelsius, 0, " \u00b0C", "Highest temperature");
  // A spin box is read by its own name ("Resistor tolerance"), not also by
  // its short label; a combo box, named by its choice, by its label.
  const auto unlabelled = [form](const QString& label, QWidget* field) {
    form->addRow(new QLabel(label), field);
  };
  unlabelled("Supply", vcc_);
  form->addRow("Timer", family_);
  form->addRow("Resistors", series_);
  unlabelled("Tolerance R", resistorTolerance_);
  unlabelled("Tolerance C", capacitorTolerance_);
  unlabelled("From", minCelsius_);
  unlabelled("To", maxCelsius_);
  for (QDoubleSpinBox* box :
       {vcc_, resistorTolerance_, capacitorTolerance_, minCelsius_, maxCelsius_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { ReadControls(); });
  for (QComboBox* box : {family_, series_}) {
    connect(box, &QComboBox::currentIndexChanged, this, [this] { ReadControls(); });
    DescribeChoice(box);
  }
  return conditions;
}

QWidget* TfmCheck::BuildFigures() {
  auto* timing = new QGroupBox("Timing");
  figures_ = new QGridLayout(timing);
  for (int column = 0; column < 3; ++column)
    figures_->addWidget(new QLabel(QString("<b>") + kColumns[column].heading + "</b>"), 0,
                        column + 1);
  const std::vector<TimingRow>& rows = AllTimingRows();
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    auto* label = new QLabel(rows[static_cast<size_t>(row)].label);
    rowLabels_.push_back(label);
    figures_->addWidget(label, row + 1, 0);
    for (int column = 1; column <= 3; ++column) {
      auto* value = new QLabel;
      ShowText(value, {});
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      figures_->addWidget(value, row + 1, column);
    }
  }
  return timing;
}

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

QSize TfmCheck::ContentSize(bool stacked, bool least) const {
  const QSize left = least ? left_->minimumSize() : left_->sizeHint();
  const QSize right = least ? right_->minimumSize() : right_->sizeHint();
  const int gap = std::max(0, columns_->spacing());
  const QSize both =
      stacked ? QSize(std::max(left.width(), right.width()), left.height() + gap + right.height())
              : QSize(left.width() + gap + right.width(), std::max(left.height(), right.height()));
  const QMargins margins = columns_->contentsMargins();
  return both +
         QSize(margins.left() + margins.right() + scroll_->verticalScrollBar()->sizeHint().width(),
               margins.top() + margins.bottom());
}

QSize TfmCheck::sizeHint() const {
  // The whole content side by side without a scroll bar, as far as the
  // screen allows.
  return ContentSize(false, false);
}

QSize TfmCheck::minimumSizeHint() const {
  // One column as wide as its widest part, scrolled up and down: the least
  // room in which nothing scrolls sideways.
  return {ContentSize(true, false).width(), 360};
}

void TfmCheck::resizeEvent(QResizeEvent* event) {
  // Side by side where both columns fit at their least, else one above the
  // other (a doubled screen leaves the window a narrow strip beside the
  // main one).
  const bool stacked = event->size().width() < ContentSize(false, true).width();
  columns_->setDirection(stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
  QWidget::resizeEvent(event);
}

void TfmCheck::keyPressEvent(QKeyEvent* event) {
  // Escape closes the tool window; Return presses the button that has the focus.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      if (button->isEnabled()) button->animateClick();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TfmCheck::SetDesign(const std::optional<DesignSnapshot>& design) {
  design_ = design;
  Check();
}

void TfmCheck::ReadControls() {
  settings_.conditions.vcc = vcc_->value();
  settings_.conditions.family =
      family_->currentIndex() == 1 ? TimerFamily::Cmos : TimerFamily::Bipolar;
  settings_.series = static_cast<Series>(series_->currentIndex());
  settings_.tolerance.resistor = resistorTolerance_->value() / 100;
  settings_.tolerance.capacitor = capacitorTolerance_->value() / 100;
  // A range given upside down is read the right way round.
  settings_.tolerance.minCelsius = std::min(minCelsius_->value(), maxCelsius_->value());
  settings_.tolerance.maxCelsius = std::max(minCelsius_->value(), maxCelsius_->value());
  Check();
}

QLabel* TfmCheck::Cell(int row, int column) const {
  return static_cast<QLabel*>(figures_->itemAtPosition(row, column)->widget());
}

void TfmCheck::Check() {
  if (checked_ && design_ == checkedDesign_ && settings_ == checkedSettings_) return;
  checked_ = true;
  checkedDesign_ = design_;
  checkedSettings_ = settings_;
  report_.reset();
  simulation_->SetDesign(design_, settings_.conditions);
  if (!design_) {
    ShowNothing();
    return;
  }
  report_ = RunCheck(*design_, settings_);
  ShowFigures();
  SearchParts();
}

void TfmCheck::ShowNothing() {
  setWindowTitle("Real-world check");
  ShowText(status_, "No calculated design: pick a design, type its figures and press Calculate.");
  for (int row = 1; row < figures_->rowCount(); ++row)
    for (int column = 1; column <= 2; ++column)
      ShowText(Cell(row, column), {});
  ShowText(warnings_, {});
  ShowText(band_, {});
  SearchParts();
}

void TfmCheck::ShowFigures() {
  const DesignSnapshot& d = *design_;
  const CheckReport& r = *report_;
  const DesignTraits& traits = TraitsOf(d.kind);
  setWindowTitle(QString("Real-world check \u2014 ") + traits.title);
  ShowText(status_, Text(PartsText(d)));
  // The one-shot's pulse stands in the first row; the astables' five rows
  // are shown whole.
  const std::vector<TimingRow>& rows = TimingRows(d.kind);
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    const bool shown = row < static_cast<int>(rows.size());
    for (int column = 0; column <= 3; ++column)
      figures_->itemAtPosition(row + 1, column)->widget()->setVisible(shown);
    if (!shown) continue;
    const TimingRow& figure = rows[static_cast<size_t>(row)];
    rowLabels_[static_cast<size_t>(row)]->setText(figure.label);
    const Timing* timings[] = {&r.ideal, &r.predicted};
    for (int column = 1; column <= 3; ++column) {
      QLabel* cell = Cell(row + 1, column);
      cell->setAccessibleDescription(QString(figure.label) + ", " + kColumns[column - 1].heading);
      if (column <= 2)
        ShowText(cell, Text(FigureText(figure.kind, figure.value(*timings[column - 1]))));
    }
  }
  QString text;
  for (const Warning& w : r.warnings)
    text += "<p><b>" + QString(CodeKey(w.code)).toHtmlEscaped() +
            "</b>: " + Text(w.message).toHtmlEscaped() + "</p>";
  ShowText(warnings_, text.isEmpty() ? "None: the design keeps every limit." : text);
  ShowText(band_,
           Text(ToleranceText(settings_.tolerance) + ": " + WorstCaseText(r.band, traits.oneShot)));
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

void TfmCheck::ShowSimulated(const std::optional<Timing>& t) {
  const std::vector<TimingRow>& rows = design_ ? TimingRows(design_->kind) : AllTimingRows();
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    const bool shown = t && row < static_cast<int>(rows.size());
    const TimingRow* figure = shown ? &rows[static_cast<size_t>(row)] : nullptr;
    ShowText(Cell(row + 1, 3), figure ? Text(FigureText(figure->kind, figure->value(*t))) : "");
  }
}

QString TfmCheck::FiguresText() const {
  QString text;
  for (int row = 0; row < static_cast<int>(rowLabels_.size()); ++row) {
    if (!rowLabels_[static_cast<size_t>(row)]->isVisibleTo(this)) continue;
    text += rowLabels_[static_cast<size_t>(row)]->text() + ": " + Cell(row + 1, 1)->text() + " / " +
            Cell(row + 1, 2)->text() + "\n";
  }
  return text;
}

QString TfmCheck::WarningsText() const {
  return warnings_->text();
}

}  // namespace timer555
