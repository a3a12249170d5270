#include "render/Bands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "model/JwwGaibu2.h"
#include "render/UserBreak.h"

namespace sxf {

std::vector<TBand> SplitIntoBands(int height, int wanted) {
  height = std::max(0, height);
  const int n = std::max(1, std::min({std::clamp(wanted, 1, kMaxBands), height / kMinBandRows}));
  std::vector<TBand> bands;
  bands.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const auto edge = [&](int k) {
      return static_cast<int>(static_cast<long long>(height) * k / n);
    };
    bands.push_back({edge(i), edge(i + 1)});
  }
  return bands;
}

std::vector<TBand> PictureBands(const TEntityLists& drawing, int height) {
  long long records = 0;  // the drawn ones: block references are not drawn
  ForEachEntityList(drawing, [&records](const char*, int kind, const auto& list) {
    if (kind != kKindBlk) records += TEntityLists::Count(list);
  });
  return SplitIntoBands(height, records < kMinBandedRecords ? 1 : DrawingWorkers());
}

int DrawingWorkers() {
  if (const char* v = std::getenv("SXF_DRAWING_THREADS")) {
    const int n = std::atoi(v);
    if (n >= 1) return std::min(n, kMaxBands);
  }
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxBands);
}

namespace {

using Clock = std::chrono::steady_clock;
// How often the caller asks the outer break source while the bands draw.
constexpr auto kAskEvery = std::chrono::milliseconds(10);

// One banded drawing: the break poll every band makes, and the pauses in which the caller's
// thread asks the outer source alone.
class TBandRun {
 public:
  TBandRun(std::function<bool()> outer, int workers)
      : outer_(std::move(outer)),
        caller_(std::this_thread::get_id()),
        running_(workers),
        asked_(Clock::now() - kAskEvery) {
  }  // the first poll asks: a key held already stops at once

  bool Poll() {
    if (std::this_thread::get_id() == caller_) {
      if (outer_ && Clock::now() - asked_ >= kAskEvery) AskOuter();
    } else if (pause_.load(std::memory_order_acquire)) {
      std::unique_lock<std::mutex> lock(mutex_);
      ++parked_;
      changed_.notify_all();
      changed_.wait(lock, [this] { return !pause_.load(std::memory_order_relaxed); });
      --parked_;
    }
    return stop_.load(std::memory_order_acquire);
  }

  // A worker's end, normal or not: its last touch of this run (the caller may end the run as
  // soon as the lock is free).
  void WorkerDone(std::exception_ptr failure) {
    if (failure) stop_.store(true, std::memory_order_release);
    const std::lock_guard<std::mutex> hold(mutex_);
    --running_;
    if (failure && !failure_) failure_ = failure;
    changed_.notify_all();
  }

  // On the caller's thread once its own band is done: waits for the workers, still asking the
  // outer source every kAskEvery.
  void WaitForWorkers() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (running_ > 0) {
      if (!outer_) {
        changed_.wait(lock, [this] { return running_ == 0; });
        break;
      }
      if (changed_.wait_for(lock, kAskEvery, [this] { return running_ == 0; })) break;
      lock.unlock();
      AskOuter();
      lock.lock();
    }
  }

  void Stop() noexcept { stop_.store(true, std::memory_order_release); }
  std::exception_ptr Failure() const { return failure_; }

 private:
  // Every running worker waits at its poll while the outer source is asked.
  void AskOuter() {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      pause_.store(true, std::memory_order_release);
      changed_.wait(lock, [this] { return parked_ == running_; });
    }
    const bool broken = outer_();
    if (broken) stop_.store(true, std::memory_order_release);
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      pause_.store(false, std::memory_order_release);
    }
    changed_.notify_all();
    asked_ = Clock::now();
  }

  const std::function<bool()> outer_;
  const std::thread::id caller_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> pause_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  int running_;     // workers still drawing, under mutex_
  int parked_ = 0;  // workers waiting at their poll, under mutex_
  std::exception_ptr failure_;
  Clock::time_point asked_;  // the caller's thread only
};

// The threads that draw bands 1, 2, ...: started when first needed and kept for the program's
// life, so that band k is drawn by the same thread every time. What a thread makes on its way
// may belong to it (the platform's font engines keep per-thread state), and the band's caches
// keep such things from one drawing to the next.
class TBandWorkers {
 public:
  static TBandWorkers& Instance() {
    static TBandWorkers* workers = new TBandWorkers;  // never ended: its threads wait to the exit
    return *workers;
  }

  // Runs job on worker k (0 .. kMaxBands - 2); the worker must be idle.
  void Post(int k, std::function<void()> job) {
    TWorker& w = Worker(k);
    {
      const std::lock_guard<std::mutex> hold(w.Mutex);
      w.Job = std::move(job);
    }
    w.Posted.notify_one();
  }

 private:
  struct TWorker {
    std::mutex Mutex;
    std::condition_variable Posted;
    std::function<void()> Job;

    void Loop() {
      for (;;) {
        std::function<void()> job;
        {
          std::unique_lock<std::mutex> lock(Mutex);
          Posted.wait(lock, [this] { return static_cast<bool>(Job); });
          job = std::move(Job);
          Job = nullptr;
        }
        job();
      }
    }
  };

  TWorker& Worker(int k) {
    const std::lock_guard<std::mutex> hold(mutex_);
    while (static_cast<int>(workers_.size()) <= k) {
      auto w = std::make_unique<TWorker>();
      std::thread(&TWorker::Loop, w.get()).detach();
      workers_.push_back(std::move(w));
    }
    return *workers_[static_cast<std::size_t>(k)];
  }

  std::mutex mutex_;
  std::vector<std::unique_ptr<TWorker>> workers_;
};

}  // namespace

bool DrawInBands(std::span<TCanvas* const> canvases, const std::function<bool(TCanvas&)>& draw) {
  if (canvases.empty()) return true;
  if (canvases.size() == 1) return draw(*canvases[0]);

  const std::function<bool()> outer = UserBreakSource();
  const int workers = static_cast<int>(canvases.size()) - 1;
  TBandRun run(outer, workers);
  SetUserBreakSource([&run] { return run.Poll(); });
  std::vector<char> complete(canvases.size(), 0);
  std::size_t posted = 1;
  std::exception_ptr callerFailure;
  try {
    for (; posted < canvases.size(); ++posted) {
      const std::size_t i = posted;
      TBandWorkers::Instance().Post(static_cast<int>(i - 1),
                                    [&run, &complete, &canvases, &draw, i] {
                                      std::exception_ptr failure;
                                      try {
                                        complete[i] = draw(*canvases[i]) ? 1 : 0;
                                      } catch (...) { failure = std::current_exception(); }
                                      run.WorkerDone(failure);
                                    });
    }
    complete[0] = draw(*canvases[0]) ? 1 : 0;
  } catch (...) {
    callerFailure = std::current_exception();
    run.Stop();
    // Bands never handed out count as done.
    for (std::size_t i = posted; i < canvases.size(); ++i) run.WorkerDone(nullptr);
  }
  run.WaitForWorkers();
  SetUserBreakSource(outer);
  if (callerFailure) std::rethrow_exception(callerFailure);
  if (run.Failure()) std::rethrow_exception(run.Failure());
  return std::all_of(complete.begin(), complete.end(), [](char c) { return c != 0; });
}

}  // namespace sxf
