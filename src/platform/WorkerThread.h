#pragma once
// A thread of the library's own that runs one function.
#include <functional>
#include <memory>

namespace qel {

class WorkerThread {
public:
    // Starts body on a new thread; throws std::runtime_error when none can be made.
    explicit WorkerThread(std::function<void()> body);
    ~WorkerThread();  // joins
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Waits until body has returned and the thread has ended. Body must be
    // about to return (the caller has told it to).
    void Join();
    // The same from inside the library's unload notification, where the
    // system holds the lock that a thread's own end waits for: waits until
    // body has returned, then ends the thread without that lock.
    void JoinWhileUnloading();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace qel
