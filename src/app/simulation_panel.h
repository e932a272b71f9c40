#pragma once

#include <QGroupBox>
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/canvas_view.h"
#include "app/simulation_job.h"
#include "simulation/ngspice.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace timer555 {

// The simulated waveform: a picture of the run, described for screen readers
// by its high and low times.
class WaveView final : public CanvasView {
 public:
  explicit WaveView(QWidget* parent = nullptr);
  void Show(const DesignSnapshot& design, const Conditions& conditions, SimulationResult result);
  bool HasWave() const noexcept { return HasPicture(); }
};

// The simulation in the real-world check: the job runs ngspice off the
// window's thread (the window stays responsive, Cancel ends the child), then
// the simulated figures and the waveform are shown. Without ngspice the
// button is off and says why.
class SimulationPanel final : public QGroupBox {
  Q_OBJECT

 public:
  explicit SimulationPanel(QWidget* parent = nullptr);

  // The design the next run simulates; a different one clears the results.
  void SetDesign(const std::optional<DesignSnapshot>& design, const Conditions& conditions);
  // Where the figures go once a run is done (nothing when it failed).
  void SetResultHandler(std::function<void(const std::optional<Timing>&)> handler) {
    resultHandler_ = std::move(handler);
  }

  bool Running() const noexcept { return job_.Busy(); }
  // The last run that gave figures, while its design is the one shown.
  struct Run {
    DesignSnapshot design;
    Conditions conditions;
    SimulationResult result;
  };
  const std::optional<Run>& LastRun() const noexcept { return lastRun_; }
  // The program run; tests put a stand-in here.
  void SetProgram(const std::string& program, double seconds);
  // Writes the netlist of the design; a failure is a message box.
  bool SaveNetlist(const QString& file);

  // Its parts, for tests and the window's layout.
  QPushButton* SimulateButton() const noexcept { return simulate_; }
  QPushButton* NetlistButton() const noexcept { return netlist_; }
  QProgressBar* Busy() const noexcept { return busy_; }
  QLabel* Status() const noexcept { return status_; }
  WaveView* Picture() const noexcept { return picture_; }

 private:
  void Start();
  void Cancel();
  void Finished(SimulationResult result, const DesignSnapshot& design,
                const Conditions& conditions);
  void Clear();

  std::optional<DesignSnapshot> design_;
  Conditions conditions_;
  std::string program_ = "ngspice";
  bool available_ = false;  // the program can be started
  double seconds_ = kSimulationSeconds;
  SimulationJob job_;
  QPushButton* simulate_ = nullptr;
  QPushButton* netlist_ = nullptr;
  QProgressBar* busy_ = nullptr;
  QLabel* status_ = nullptr;
  WaveView* picture_ = nullptr;
  std::function<void(const std::optional<Timing>&)> resultHandler_;
  std::optional<Run> lastRun_;
};

}  // namespace timer555
