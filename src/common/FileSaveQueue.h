#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "common/Logger.h"

// Saves generated files (saveGeneratedFile) on a thread of its own, in the order they are handed
// over, while the caller goes on building the next ones: creating or comparing a file costs
// more than building its text, and the two now overlap.
//
// What the caller logs while the queue is open goes through the same queue, so standard output
// reads exactly as if every file had been saved on the spot: each line keeps its place between
// the save messages. A group started with stopsAtFailure ends at its first failed save, as a
// loop that stops there would: the failure is logged, and the later saves and lines of that
// group are dropped.
//
// The text waiting in the queue is bounded (the caller waits when it is full), so building runs
// at most that far ahead of the disk.
class FileSaveQueue : private LogSink {
public:
    explicit FileSaveQueue(bool verbose, std::size_t maxPendingBytes = std::size_t(32) << 20);
    // Saves whatever is still queued and stops the thread (see finish).
    ~FileSaveQueue() override;
    FileSaveQueue(const FileSaveQueue&) = delete;
    FileSaveQueue& operator=(const FileSaveQueue&) = delete;

    // Saves and lines handed over from now on belong to a new group.
    void startGroup(bool stopsAtFailure);
    // Queues text for path.
    void save(std::string path, std::string text);
    // Waits until everything queued is saved and logged, stops the thread and gives the
    // caller's log lines back to standard output; saves after this are made on the spot.
    // Rethrows a failure of the saving thread. Call it on the thread that made the queue.
    void finish();

private:
    struct Item {
        bool isSave = false;
        int group = 0;
        bool stopsAtFailure = false;
        std::string path;
        std::string text;  // the file's text, or the log lines
    };

    void write(std::string lines) override;
    void push(Item item);
    // Saves or prints item unless its group has stopped. Only one thread at a time: the saving
    // thread while it runs, the caller before it starts or after it has stopped.
    void handle(const Item& item);
    void run();
    void stop() noexcept;

    const bool verbose;
    const std::size_t maxPendingBytes;
    int group = 0;
    bool groupStopsAtFailure = false;
    // The group whose save has failed and that stops there; later items of it are dropped.
    int stoppedGroup = -1;

    std::mutex mutex;
    std::condition_variable wake;     // the saving thread: items or the end
    std::condition_variable drained;  // the caller: room in the queue
    std::deque<Item> items;
    std::size_t pendingBytes = 0;
    bool closing = false;
    std::exception_ptr failure;

    std::optional<LogRedirect> redirect;
    std::thread saver;
};
