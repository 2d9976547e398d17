// Runs jobs on the thread pool so that only the newest result reaches the
// GUI thread: each start sets the cancel flag of the job before it and
// numbers the request, and a result arrives only when no newer request was
// made meanwhile. A job works on copies and its own flag, so one still
// running when its owner goes stops soon and its result goes nowhere.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <functional>
#include <memory>

namespace vorlane {

template <typename Result>
class LatestJob : public QObject {
 public:
  using Job = std::function<Result(const std::atomic<bool>& cancel)>;
  using Receiver = std::function<void(int request, const Result& result)>;

  explicit LatestJob(QObject* parent = nullptr) : QObject(parent) {}
  ~LatestJob() override { CancelRunning(); }

  // Called on the GUI thread with the newest request's result.
  void SetReceiver(Receiver receiver) { receiver_ = std::move(receiver); }

  int Start(Job job) {
    const int request = Skip();
    ++running_;
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
      watcher->deleteLater();
      --running_;
      if (request != latest_) {
        ++dropped_;
        return;
      }
      ++delivered_;
      if (receiver_) receiver_(request, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([job = std::move(job), cancel = cancel_] { return job(*cancel); }));
    return request;
  }
  // A request that needs no job: the running one is cancelled and its result
  // will not arrive.
  int Skip() {
    CancelRunning();
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    return ++latest_;
  }

  int Latest() const { return latest_; }
  int Delivered() const { return delivered_; }
  int Dropped() const { return dropped_; }
  bool Running() const { return running_ > 0; }

 private:
  void CancelRunning() {
    if (cancel_) cancel_->store(true);
  }

  Receiver receiver_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  int latest_ = 0;
  int delivered_ = 0;
  int dropped_ = 0;
  int running_ = 0;
};

}  // namespace vorlane
