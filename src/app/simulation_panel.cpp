#include "app/simulation_panel.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/accessibility.h"
#include "app/save_dialog.h"
#include "design/adjustment.h"
#include "render/qt_canvas.h"
#include "report/figures.h"
#include "simulation/netlist.h"
#include "simulation/wave_picture.h"

namespace timer555 {

WaveView::WaveView(QWidget* parent)
    : CanvasView(kWavePictureWidth, kWavePictureHeight, "Simulated waveform",
                 "The waveform appears here after Simulate.", parent) {}

void WaveView::Show(const DesignSnapshot& design, const Conditions& conditions,
                    SimulationResult result) {
  const Timing& t = result.simulated;
  const QString description = QString::fromStdString(
      "Output high " + TimeText(t.tHigh) + (t.tLow ? ", low " + TimeText(*t.tLow) : std::string()));
  CanvasView::Show(
      [design, conditions, result = std::move(result)](Canvas& canvas, double scale) {
        DrawSimulatedWave(canvas, design, conditions, result, scale);
      },
      description);
}

SimulationPanel::SimulationPanel(QWidget* parent) : QGroupBox("Simulation", parent) {
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  simulate_ = new QPushButton("Simulate");
  simulate_->setAccessibleName("Simulate");
  netlist_ = new QPushButton("Save netlist\u2026");
  netlist_->setAccessibleName("Save netlist");
  // The buttons keep their place and size while a run goes on: the button
  // is as wide as its longer text, and the busy bar's room is kept when hidden.
  const QFontMetrics metrics(simulate_->font());
  simulate_->setMinimumWidth(
      std::max(metrics.horizontalAdvance("Simulate"), metrics.horizontalAdvance("Cancel")) + 32);
  busy_ = new QProgressBar;
  busy_->setRange(0, 0);  // a busy indication: the run's length is not known
  QSizePolicy keep = busy_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  busy_->setSizePolicy(keep);
  busy_->setVisible(false);
  busy_->setAccessibleName("Simulating");
  buttons->addWidget(simulate_);
  buttons->addWidget(netlist_);
  buttons->addWidget(busy_, 1);
  layout->addLayout(buttons);
  status_ = new QLabel;
  status_->setWordWrap(true);
  status_->setAccessibleDescription("Simulation status");
  ShowText(status_, {});
  // A line for the status from the start: the picture does not move down.
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing());
  layout->addWidget(status_);
  picture_ = new WaveView;
  layout->addWidget(picture_, 1);
  connect(simulate_, &QPushButton::clicked, this, [this] {
    if (Running()) {
      Cancel();
    } else {
      Start();
    }
  });
  connect(netlist_, &QPushButton::clicked, this, [this] {
    const QString file =
        AskSaveFileName(this, "Save netlist", "timer555.cir", "SPICE netlist (*.cir)");
    if (!file.isEmpty()) SaveNetlist(file);
  });
  connect(&job_, &SimulationJob::Finished, this,
          [this](const SimulationResult& result, const DesignSnapshot& design,
                 const Conditions& conditions) { Finished(result, design, conditions); });
  SetProgram("ngspice", kSimulationSeconds);
  SetDesign(std::nullopt, conditions_);
}

void SimulationPanel::SetProgram(const std::string& program, double seconds) {
  program_ = program;
  seconds_ = seconds;
  const bool found = program != "ngspice" || !FindNgspice().empty();
  available_ = found;
  simulate_->setToolTip(found ? "Simulate the circuit with ngspice" : kNgspiceMissing);
  SetDesign(design_, conditions_);
}

namespace {

// A figure as a reader says it: "863.8 Hz" is "863.8 hertz", "25.1 %"
// "25.1 percent", "1.2 ms" "1.2 milliseconds".
QString Spoken(const std::string& figure) {
  const size_t space = figure.rfind(' ');
  const std::string words =
      space == std::string::npos ? std::string() : UnitWord(figure.substr(space + 1));
  return QString::fromStdString(words.empty() ? figure : figure.substr(0, space + 1) + words);
}

// "Simulated by ngspice: 863.8 hertz, 25.1 percent" (the one-shot: its pulse).
QString SimulatedSentence(const DesignSnapshot& design, const Timing& t) {
  QStringList figures;
  for (const TimingRow& row : TimingRows(design.kind)) {
    if (figures.size() == 2) break;
    if (const auto value = row.value(t)) figures << Spoken(FigureText(row.kind, value));
  }
  return "Simulated by ngspice: " + figures.join(", ");
}

}  // namespace

void SimulationPanel::SetDesign(const std::optional<DesignSnapshot>& design,
                                const Conditions& conditions) {
  const bool changed = design != design_ || !(conditions == conditions_);
  design_ = design;
  conditions_ = conditions;
  if (changed && !Running()) Clear();
  simulate_->setEnabled(Running() || (available_ && design_.has_value()));
  netlist_->setEnabled(design_.has_value());
  if (!available_) ShowText(status_, kNgspiceMissing);
}

void SimulationPanel::Clear() {
  lastRun_.reset();
  picture_->Clear();
  ShowText(status_, {});
  if (resultHandler_) resultHandler_(std::nullopt);
}

void SimulationPanel::Start() {
  if (!design_ || !job_.Start(*design_, conditions_, program_, seconds_)) return;
  simulate_->setText("Cancel");
  simulate_->setAccessibleName("Cancel");
  simulate_->setToolTip("Cancel the simulation");
  busy_->setVisible(true);
  ShowText(status_, "Simulating\u2026");
  Announce("Simulating", this);
}

void SimulationPanel::Cancel() {
  job_.Cancel();
  ShowText(status_, "Cancelling\u2026");
}

void SimulationPanel::Finished(SimulationResult result, const DesignSnapshot& design,
                               const Conditions& conditions) {
  simulate_->setText("Simulate");
  simulate_->setAccessibleName("Simulate");
  simulate_->setToolTip(available_ ? "Simulate the circuit with ngspice" : kNgspiceMissing);
  busy_->setVisible(false);
  SetDesign(design_, conditions_);
  // A run for a design that has changed since says nothing of this one.
  const bool current = design_ && *design_ == design && conditions_ == conditions;
  if (!current && !result.error) result.error = "the design changed during the simulation";
  if (result.error) {
    ShowText(status_, QString::fromStdString(*result.error));
    Announce(status_->text(), this);
    lastRun_.reset();
    picture_->Clear();
    if (resultHandler_) resultHandler_(std::nullopt);
    return;
  }
  ShowText(status_, QString("Simulated by ngspice in %1 s.").arg(result.seconds, 0, 'f', 2));
  const Timing simulated = result.simulated;
  Announce(SimulatedSentence(design, simulated), this);
  lastRun_ = Run{design, conditions, result};
  if (design_) picture_->Show(*design_, conditions_, std::move(result));
  if (resultHandler_) resultHandler_(simulated);
}

bool SimulationPanel::SaveNetlist(const QString& file) {
  if (!design_) return false;
  return SaveFile(this, file,
                  Netlist(*design_, conditions_, PlanSimulation(*design_, conditions_)));
}

}  // namespace timer555
