#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <thread>

namespace timer555 {

// One piece of work on a thread of its own, its result handed to `done` on
// the thread of `context`, which owns this. A result that arrives after the
// context is gone is dropped; the destructor waits for the work to end.
template <typename Result>
class Background {
 public:
  explicit Background(QObject* context) : context_(context) {}
  ~Background() {
    if (worker_.joinable()) worker_.join();
  }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  bool Busy() const noexcept { return worker_.joinable(); }

  // False while the last work is still running.
  bool Start(std::function<Result()> work, std::function<void(Result)> done) {
    if (Busy()) return false;
    worker_ = std::thread([this, work = std::move(work), done = std::move(done)] {
      Result result = work();
      QMetaObject::invokeMethod(
          context_,
          [this, done, result = std::move(result)]() mutable {
            if (worker_.joinable()) worker_.join();
            done(std::move(result));
          },
          Qt::QueuedConnection);
    });
    return true;
  }

 private:
  QObject* context_;
  std::thread worker_;
};

}  // namespace timer555
