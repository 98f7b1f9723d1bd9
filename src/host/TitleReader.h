#pragma once
// Reads the display titles of the playlist's files on a thread of its own,
// so that the window's thread never waits for a file. The reader has its own
// analysers; it shares nothing with the player. Each piece of work belongs to
// one list, numbered by the window; the window drops what belongs to an
// older one.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/WorkerThread.h"
#include "player/FileInfoDispatch.h"

namespace qel {

// One item to title. A file whose stamp is still `stamp` is not read again.
struct TitleRequest {
    int32_t index = 0;
    std::string path;
    bool known = false;  // `stamp` is what the last reading saw
    std::optional<FileStamp> stamp;
};

// A title read, for item `index` of list `list`.
struct TitleRead {
    uint32_t list = 0;
    int32_t index = 0;
    std::string path;
    std::optional<FileStamp> stamp;
    std::string title;
};

class TitleReader {
public:
    // `waiting` is called on the reader's thread when results wait to be
    // taken; it must hand that news to the window's thread (a posted message)
    // and must not call the reader.
    TitleReader(FileOpener& files, std::function<void()> waiting);
    ~TitleReader();
    TitleReader(const TitleReader&) = delete;
    TitleReader& operator=(const TitleReader&) = delete;

    // Reads these items in order, in place of any unfinished work and of
    // results not yet taken (no items: the reader only drops those).
    void Read(uint32_t list, std::vector<TitleRequest> items);
    // Up to `most` results in the order they were read; when more wait,
    // `waiting` is called again.
    std::vector<TitleRead> Take(size_t most);
    // Ends the reader for good: waits for the file being read, then ends the
    // thread. Nothing is read and `waiting` is not called after it returns.
    void Stop();
    // The same from inside the library's unload notification.
    void StopWhileUnloading();
    // Waits until every item given is read or skipped (tests, benchmarks).
    void WaitUntilIdle();

private:
    void Run();
    void End(bool unloading);
    std::optional<TitleRead> ReadOne(uint32_t list, const TitleRequest& item);

    FileOpener& files_;
    FileInfoDispatch dispatch_;  // the reader's own analysers
    std::function<void()> waiting_;

    std::mutex mutex_;
    std::condition_variable changed_;  // work given, or the reader is stopping
    std::condition_variable idle_;
    std::unique_ptr<WorkerThread> thread_;  // from the first work on
    uint32_t list_ = 0;
    std::vector<TitleRequest> work_;
    size_t next_ = 0;  // the first item of work_ not yet taken up
    bool reading_ = false;
    bool stopping_ = false;
    std::deque<TitleRead> results_;
    bool announced_ = false;  // `waiting` was called and the results not yet taken
};

}  // namespace qel
