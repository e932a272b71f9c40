#pragma once

#include <QObject>
#include <atomic>
#include <string>
#include <thread>

#include "simulation/ngspice.h"

namespace timer555 {

// One ngspice run on a second thread, apart from any widget: Start, Cancel
// (the child's group is killed at the next poll), Busy, and Finished on the
// object's own thread with the design and conditions the run had.
class SimulationJob final : public QObject {
  Q_OBJECT

 public:
  explicit SimulationJob(QObject* parent = nullptr);
  ~SimulationJob() override;
  SimulationJob(const SimulationJob&) = delete;
  SimulationJob& operator=(const SimulationJob&) = delete;

  // Starts a run; false while one is going on.
  bool Start(const DesignSnapshot& design, const Conditions& conditions, const std::string& program,
             double seconds);
  void Cancel() noexcept { cancel_ = true; }
  bool Busy() const noexcept { return worker_.joinable(); }

 signals:
  void Finished(const timer555::SimulationResult& result, const timer555::DesignSnapshot& design,
                const timer555::Conditions& conditions);

 private:
  void Done(const SimulationResult& result, const DesignSnapshot& design,
            const Conditions& conditions);

  std::thread worker_;
  std::atomic<bool> cancel_{false};
};

}  // namespace timer555
