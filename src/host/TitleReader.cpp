#include "host/TitleReader.h"

namespace qel {

TitleReader::TitleReader(FileOpener& files, std::function<void()> waiting)
    : files_(files), dispatch_(files), waiting_(std::move(waiting)) {}

TitleReader::~TitleReader() { Stop(); }

void TitleReader::Read(uint32_t list, std::vector<TitleRequest> items) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return;
        list_ = list;
        work_ = std::move(items);
        next_ = 0;
        results_.clear();
        // The thread starts with the first work and lives until Stop.
        if (!thread_ && !work_.empty()) thread_ = std::make_unique<WorkerThread>([this] { Run(); });
    }
    changed_.notify_one();
}

std::vector<TitleRead> TitleReader::Take(size_t most) {
    std::vector<TitleRead> taken;
    bool more = false;
    {
        const std::lock_guard lock(mutex_);
        while (taken.size() < most && !results_.empty()) {
            taken.push_back(std::move(results_.front()));
            results_.pop_front();
        }
        more = !results_.empty() && !stopping_;
        announced_ = more;
    }
    if (more) waiting_();
    return taken;
}

void TitleReader::Stop() { End(false); }

void TitleReader::StopWhileUnloading() { End(true); }

void TitleReader::End(bool unloading) {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        work_.clear();
        next_ = 0;
        results_.clear();
    }
    changed_.notify_one();
    if (thread_) {
        if (unloading)
            thread_->JoinWhileUnloading();
        else
            thread_->Join();
    }
    idle_.notify_all();
}

void TitleReader::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return stopping_ || (next_ >= work_.size() && !reading_); });
}

// A file whose stamp is the one known is not read; any other is read, and
// its stamp taken before, so that a write during the reading shows as a
// change the next time.
std::optional<TitleRead> TitleReader::ReadOne(uint32_t list, const TitleRequest& item) {
    std::optional<FileStamp> stamp = files_.Stamp(item.path);
    if (item.known && item.stamp == stamp) return std::nullopt;
    return TitleRead{list, item.index, item.path, stamp, dispatch_.FileTitle(item.path)};
}

void TitleReader::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || next_ < work_.size(); });
        if (stopping_) return;
        const TitleRequest item = std::move(work_[next_++]);
        const uint32_t list = list_;
        reading_ = true;
        lock.unlock();
        std::optional<TitleRead> read;
        try {
            read = ReadOne(list, item);
        } catch (...) {
            // Out of memory for one title: the item keeps its file name.
        }
        lock.lock();
        reading_ = false;
        bool announce = false;
        if (read && list == list_ && !stopping_) {
            results_.push_back(std::move(*read));
            announce = !announced_;
            announced_ = true;
        }
        if (next_ >= work_.size()) idle_.notify_all();
        if (announce) {
            lock.unlock();
            waiting_();
            lock.lock();
        }
    }
}

}  // namespace qel
