#include "app/simulation_job.h"

#include <QMetaObject>

namespace timer555 {

SimulationJob::SimulationJob(QObject* parent) : QObject(parent) {}

SimulationJob::~SimulationJob() {
  // Nothing waits for the limit: the child is killed at the next poll.
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool SimulationJob::Start(const DesignSnapshot& design, const Conditions& conditions,
                          const std::string& program, double seconds) {
  if (Busy()) return false;
  cancel_ = false;
  worker_ = std::thread([this, design, conditions, program, seconds] {
    SimulationResult result = Simulate(design, conditions, program, seconds, &cancel_);
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result), design, conditions] {
          Done(result, design, conditions);
        },
        Qt::QueuedConnection);
  });
  return true;
}

void SimulationJob::Done(const SimulationResult& result, const DesignSnapshot& design,
                         const Conditions& conditions) {
  if (worker_.joinable()) worker_.join();
  emit Finished(result, design, conditions);
}

}  // namespace timer555
