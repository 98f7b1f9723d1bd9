// Worker threads outside Windows: std::thread. No loader lock is held while
// a library unloads, so both joins are the same.
#include <thread>

#include "platform/WorkerThread.h"

namespace qel {

struct WorkerThread::State {
    std::thread thread;
};

WorkerThread::WorkerThread(std::function<void()> body) : state_(std::make_unique<State>()) {
    state_->thread = std::thread(std::move(body));
}

WorkerThread::~WorkerThread() { Join(); }

void WorkerThread::Join() {
    if (state_->thread.joinable()) state_->thread.join();
}

void WorkerThread::JoinWhileUnloading() { Join(); }

}  // namespace qel
