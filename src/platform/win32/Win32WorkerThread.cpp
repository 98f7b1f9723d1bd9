// Worker threads on Windows. A thread's normal end waits for the loader lock,
// which the system holds while it unloads the library; so at the end of its
// function the thread reports that it has returned and waits, in one step,
// for leave to end. A normal join gives that leave; a join while unloading
// ends the waiting thread instead, which needs no lock: it runs none of the
// library's code any more and holds nothing.
#include <windows.h>

#include <process.h>

#include <stdexcept>

#include "platform/WorkerThread.h"

namespace qel {

struct WorkerThread::State {
    std::function<void()> body;
    HANDLE returned = nullptr;  // set once body has returned
    HANDLE leave = nullptr;     // the thread may end normally
    HANDLE thread = nullptr;

    static unsigned __stdcall Start(void* state) {
        auto* self = static_cast<State*>(state);
        try {
            self->body();
        } catch (...) {
        }
        SignalObjectAndWait(self->returned, self->leave, INFINITE, FALSE);
        return 0;
    }
    void Close() {
        for (HANDLE* handle : {&thread, &returned, &leave}) {
            if (*handle) CloseHandle(*handle);
            *handle = nullptr;
        }
    }
};

WorkerThread::WorkerThread(std::function<void()> body) : state_(std::make_unique<State>()) {
    state_->body = std::move(body);
    state_->returned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    state_->leave = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (state_->returned && state_->leave)
        state_->thread =
            reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &State::Start, state_.get(), 0, nullptr));
    if (!state_->thread) {
        state_->Close();
        throw std::runtime_error("no thread can be started");
    }
}

WorkerThread::~WorkerThread() { Join(); }

void WorkerThread::Join() {
    if (!state_->thread) return;
    SetEvent(state_->leave);
    WaitForSingleObject(state_->thread, INFINITE);
    state_->Close();
}

void WorkerThread::JoinWhileUnloading() {
    if (!state_->thread) return;
    WaitForSingleObject(state_->returned, INFINITE);
    TerminateThread(state_->thread, 0);
    WaitForSingleObject(state_->thread, INFINITE);
    state_->Close();
}

}  // namespace qel
