#include "app/check_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "app/shell.h"
#include "app/simulation_panel.h"
#include "design/design_pages.h"
#include "format/engineering.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr int kChoiceRows = 5;
const char* const kRowNames[] = {"Frequency", "Duty cycle", "High time", "Low time",
                                 "First high time"};

QString Fixed(double v, int decimals) {
  return QString::fromStdString(FixedText(v, decimals));
}

// 772.1 Hz, 250.0 µs, 3.6 kΩ.
QString Engineering(double v, const QString& unit) {
  return QString::fromStdString(EngineeringText(v, unit.toStdString(), "\u00b5"));
}

QString Percent(double fraction) {
  return std::isfinite(fraction) ? Fixed(fraction * 100, 1) + " %" : "-";
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
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  outer->addWidget(scroll_);
  auto* content = new QWidget;
  scroll_->setWidget(content);
  auto* columns = new QHBoxLayout(content);
  auto* layout = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(layout);
  columns->addLayout(right, 1);

  auto* conditions = new QGroupBox("Built with");
  auto* form = new QFormLayout(conditions);
  Vcc = Spin(1, 30, settings_.conditions.vcc, 1, " V", "Supply voltage");
  Family = new QComboBox;
  Family->addItems({"bipolar (NE555 class)", "CMOS (7555 class)"});
  Family->setAccessibleName("Timer family");
  SeriesBox = new QComboBox;
  for (Series s : {Series::E6, Series::E12, Series::E24, Series::E48, Series::E96})
    SeriesBox->addItem(SeriesName(s));
  SeriesBox->setCurrentIndex(static_cast<int>(settings_.series));
  SeriesBox->setAccessibleName("Resistor series");
  ResistorTolerance = Spin(0, 50, 5, 1, " %", "Resistor tolerance");
  CapacitorTolerance = Spin(0, 50, 10, 1, " %", "Capacitor tolerance");
  MinCelsius = Spin(-55, 150, 0, 0, " \u00b0C", "Lowest temperature");
  MaxCelsius = Spin(-55, 150, 70, 0, " \u00b0C", "Highest temperature");
  form->addRow("Supply", Vcc);
  form->addRow("Timer", Family);
  form->addRow("Resistors", SeriesBox);
  form->addRow("Tolerance R", ResistorTolerance);
  form->addRow("Tolerance C", CapacitorTolerance);
  form->addRow("From", MinCelsius);
  form->addRow("To", MaxCelsius);
  layout->addWidget(conditions);

  status_ = new QLabel;
  status_->setWordWrap(true);
  status_->setAccessibleName("Design");
  layout->addWidget(status_);

  auto* timing = new QGroupBox("Timing");
  figures_ = new QGridLayout(timing);
  figures_->addWidget(new QLabel("<b>ideal</b>"), 0, 1);
  figures_->addWidget(new QLabel("<b>built circuit</b>"), 0, 2);
  figures_->addWidget(new QLabel("<b>simulated</b>"), 0, 3);
  for (int i = 0; i < 5; ++i) {
    figures_->addWidget(new QLabel(kRowNames[i]), i + 1, 0);
    for (int column = 1; column <= 3; ++column) {
      auto* value = new QLabel;
      const char* what[] = {", ideal", ", built", ", simulated"};
      value->setAccessibleName(QString(kRowNames[i]) + what[column - 1]);
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      figures_->addWidget(value, i + 1, column);
    }
  }
  layout->addWidget(timing);

  auto* warnings = new QGroupBox("Warnings");
  auto* warningsLayout = new QVBoxLayout(warnings);
  warnings_ = new QLabel;
  warnings_->setWordWrap(true);
  warnings_->setAccessibleName("Warnings");
  warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  warnings_->setMinimumWidth(380);
  warningsLayout->addWidget(warnings_);
  right->addWidget(warnings);

  auto* standard = new QGroupBox("Standard values for C1");
  choices_ = new QGridLayout(standard);
  for (int i = 0; i < kChoiceRows; ++i) {
    auto* label = new QLabel;
    label->setAccessibleName("Choice " + QString::number(i + 1));
    auto* apply = new QPushButton("Apply");
    apply->setAccessibleName("Apply choice " + QString::number(i + 1));
    connect(apply, &QPushButton::clicked, this, [this, i] { Apply(i); });
    choices_->addWidget(label, i, 0);
    choices_->addWidget(apply, i, 1);
    choiceLabels_.push_back(label);
    applyButtons_.push_back(apply);
  }
  right->addWidget(standard);
  Simulation = new SimulationPanel;
  Simulation->SetResultHandler([this](const std::optional<Timing>& t) { ShowSimulated(t); });
  right->addWidget(Simulation);

  auto* tolerance = new QGroupBox("Worst case");
  auto* toleranceLayout = new QVBoxLayout(tolerance);
  band_ = new QLabel;
  band_->setWordWrap(true);
  band_->setAccessibleName("Worst case");
  toleranceLayout->addWidget(band_);
  layout->addWidget(tolerance);
  layout->addStretch(1);
  right->addStretch(1);

  for (QDoubleSpinBox* box : {Vcc, ResistorTolerance, CapacitorTolerance, MinCelsius, MaxCelsius})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { Refresh(); });
  for (QComboBox* box : {Family, SeriesBox})
    connect(box, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  Refresh();
}

QSize TfmCheck::sizeHint() const {
  // The whole content without scroll bars, as far as the screen allows.
  const QSize content = scroll_->widget()->sizeHint();
  return {content.width() + scroll_->verticalScrollBar()->sizeHint().width(), content.height()};
}

QSize TfmCheck::minimumSizeHint() const {
  return {280, 180};
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

void TfmCheck::ReadControls() {
  settings_.conditions.vcc = Vcc->value();
  settings_.conditions.family =
      Family->currentIndex() == 1 ? TimerFamily::Cmos : TimerFamily::Bipolar;
  settings_.series = static_cast<Series>(SeriesBox->currentIndex());
  settings_.tolerance.resistor = ResistorTolerance->value() / 100;
  settings_.tolerance.capacitor = CapacitorTolerance->value() / 100;
  // A range given upside down is read the right way round.
  settings_.tolerance.minCelsius = std::min(MinCelsius->value(), MaxCelsius->value());
  settings_.tolerance.maxCelsius = std::max(MinCelsius->value(), MaxCelsius->value());
}

void TfmCheck::Refresh() {
  if (refreshing_) return;
  ReadControls();
  const std::optional<DesignSnapshot> design = shell_.CheckedDesign();
  // Every event of the main window asks (mouse moves too); the check runs
  // again only when the design or the settings have changed.
  if (checked_ && design == design_ && settings_ == checkedSettings_) return;
  refreshing_ = true;
  checked_ = true;
  checkedSettings_ = settings_;
  design_ = design;
  report_.reset();
  Simulation->SetDesign(design_, settings_.conditions);
  const auto cell = [this](int row, int column) {
    return static_cast<QLabel*>(figures_->itemAtPosition(row, column)->widget());
  };
  if (!design_) {
    setWindowTitle("Real-world check");
    status_->setText("No calculated design: pick a design, type its figures and press Calculate.");
    for (int row = 1; row <= 5; ++row)
      for (int column = 1; column <= 2; ++column)
        cell(row, column)->clear();
    warnings_->clear();
    for (int i = 0; i < kChoiceRows; ++i) {
      choiceLabels_[static_cast<size_t>(i)]->clear();
      applyButtons_[static_cast<size_t>(i)]->setEnabled(false);
    }
    band_->clear();
    refreshing_ = false;
    return;
  }
  const DesignSnapshot& d = *design_;
  report_ = RunCheck(d, settings_);
  const CheckReport& r = *report_;
  setWindowTitle(QString("Real-world check \u2014 ") + DesignTitle(d.mode));
  QString parts = "R1 " + Engineering(d.r1, "\u03a9");
  if (d.mode != 4) parts += ", R2 " + Engineering(d.r2, "\u03a9");
  status_->setText(parts + ", C1 " + Engineering(d.c1, "F"));
  const auto set = [&](int row, const QString& ideal, const QString& real) {
    cell(row, 1)->setText(ideal);
    cell(row, 2)->setText(real);
  };
  if (d.mode == 4) {
    set(1, "-", "-");
    set(2, "-", "-");
    set(3, Engineering(r.ideal.tHigh, "s"), Engineering(r.predicted.tHigh, "s"));
    set(4, "-", "-");
    set(5, Engineering(r.ideal.firstTHigh, "s"), Engineering(r.predicted.firstTHigh, "s"));
  } else {
    const auto opt = [](const std::optional<double>& v) { return v.value_or(NAN); };
    set(1, Engineering(*r.ideal.frequency, "Hz"), Engineering(opt(r.predicted.frequency), "Hz"));
    set(2, Percent(*r.ideal.dutyCycle), Percent(opt(r.predicted.dutyCycle)));
    set(3, Engineering(r.ideal.tHigh, "s"), Engineering(r.predicted.tHigh, "s"));
    set(4, Engineering(*r.ideal.tLow, "s"), Engineering(opt(r.predicted.tLow), "s"));
    set(5, Engineering(r.ideal.firstTHigh, "s"), Engineering(r.predicted.firstTHigh, "s"));
  }
  QString text;
  for (const Warning& w : r.warnings)
    text += "<p><b>" + QString::fromStdString(w.code).toHtmlEscaped() +
            "</b>: " + QString::fromStdString(w.message).toHtmlEscaped() + "</p>";
  warnings_->setText(text.isEmpty() ? "None: the design keeps every limit." : text);
  for (int i = 0; i < kChoiceRows; ++i) {
    QLabel* label = choiceLabels_[static_cast<size_t>(i)];
    QPushButton* apply = applyButtons_[static_cast<size_t>(i)];
    if (i >= static_cast<int>(r.choices.size())) {
      label->clear();
      apply->setEnabled(false);
      continue;
    }
    const StandardChoice& c = r.choices[static_cast<size_t>(i)];
    QString line = "R1 " + Engineering(c.r1, "\u03a9");
    const bool pair = d.mode == 1 || d.mode == 3;
    if (pair) line += ", R2 " + Engineering(*c.r2, "\u03a9");
    if (d.mode == 4) {
      line += ": " + Engineering(c.ideal.tHigh, "s");
    } else {
      line += ": " + Engineering(*c.ideal.frequency, "Hz") + ", " + Percent(*c.ideal.dutyCycle);
    }
    line += ", error " + Fixed(c.Score() * 100, 2) + " %";
    label->setText(line);
    const bool inBand =
        shell_.AcceptsResistor(1, c.r1) && (!pair || shell_.AcceptsResistor(2, *c.r2));
    apply->setEnabled(inBand);
    apply->setToolTip(inBand ? "Enter these resistors as the adjustment dialog would"
                             : "Outside the \u00b120 % the adjustment dialog accepts");
  }
  const ToleranceSpec& t = settings_.tolerance;
  QString band = "R \u00b1" + Fixed(t.resistor * 100, 1) + " %, C \u00b1" +
                 Fixed(t.capacitor * 100, 1) + " %, " + Fixed(t.minCelsius, 0) + " to " +
                 Fixed(t.maxCelsius, 0) + " \u00b0C: ";
  band += QString::fromStdString(WorstCaseText(r.band, d.mode == 4));
  band_->setText(band);
  refreshing_ = false;
}

void TfmCheck::Apply(int row) {
  if (!report_ || !design_ || row >= static_cast<int>(report_->choices.size())) return;
  const StandardChoice c = report_->choices[static_cast<size_t>(row)];
  const bool pair = design_->mode == 1 || design_->mode == 3;
  const auto apply = [&] { shell_.ApplyStandardResistors(c.r1, pair ? c.r2 : std::nullopt); };
  if (guard_) {
    guard_(apply);
  } else {
    apply();
  }
  Refresh();
}

void TfmCheck::ShowSimulated(const std::optional<Timing>& t) {
  const auto set = [this](int row, const QString& text) {
    static_cast<QLabel*>(figures_->itemAtPosition(row, 3)->widget())->setText(text);
  };
  if (!t) {
    for (int row = 1; row <= 5; ++row)
      set(row, "");
    return;
  }
  const auto opt = [](const std::optional<double>& v) { return v.value_or(NAN); };
  const bool oneShot = !t->frequency;
  set(1, oneShot ? "-" : Engineering(opt(t->frequency), "Hz"));
  set(2, oneShot ? "-" : Percent(opt(t->dutyCycle)));
  set(3, Engineering(t->tHigh, "s"));
  set(4, oneShot ? "-" : Engineering(opt(t->tLow), "s"));
  set(5, Engineering(t->firstTHigh, "s"));
}

QString TfmCheck::FiguresText() const {
  QString text;
  for (int row = 1; row <= 5; ++row) {
    text += QString(kRowNames[row - 1]) + ": ";
    for (int column = 1; column <= 2; ++column)
      text += static_cast<QLabel*>(figures_->itemAtPosition(row, column)->widget())->text() +
              (column == 1 ? " / " : "\n");
  }
  return text;
}

QString TfmCheck::WarningsText() const {
  return warnings_->text();
}

}  // namespace timer555
