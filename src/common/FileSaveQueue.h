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
//
// A queue made held writes no file and prints no line until it is released: meanwhile its thread
// only reads, settling the saves whose files already hold their text, so that building and
// comparing can go on while the documents are still being validated. At the first save that
// needs writing, comparing ends and the caller's next hand-over waits for the release.
// An abandoned queue drops everything it holds and everything handed to it later.
class FileSaveQueue : private LogSink {
public:
    static constexpr std::size_t k_defaultMaxPendingBytes = std::size_t(32) << 20;

    // Thrown by save once the queue has been abandoned, to end the building that feeds it.
    struct Abandoned {};

    // intoEmptyDirectory: the files go into a directory that was empty when the run began, so
    // none of them is looked for before it is written (see writeNewFile).
    explicit FileSaveQueue(bool verbose, std::size_t maxPendingBytes = k_defaultMaxPendingBytes,
                           bool held = false, bool intoEmptyDirectory = false);
    // Saves whatever is still queued and stops the thread (see finish).
    ~FileSaveQueue() override;
    FileSaveQueue(const FileSaveQueue&) = delete;
    FileSaveQueue& operator=(const FileSaveQueue&) = delete;

    // Saves and lines handed over from now on belong to a new group.
    void startGroup(bool stopsAtFailure);
    // Queues text for path; throws Abandoned once the queue has been abandoned.
    void save(std::string path, std::string text);
    // True while the queue holds back its writes and lines. A queue without a thread of its own
    // saves on the spot and is never held.
    bool isHeld() const;
    // Lets a held queue write and print what it holds, in order, and whatever comes later.
    // Any thread may call it.
    void release();
    // Drops everything queued, writing and printing none of it, and everything handed over
    // later. Any thread may call it.
    void abandon();
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
    // While held: compares queued saves with their files in order, settling each whose file
    // holds its text, until the first that does not or until the queue is released.
    void settleWhileHeld(std::unique_lock<std::mutex>& lock);
    void stop() noexcept;

    const bool verbose;
    const bool expectNewFiles;
    const std::size_t maxPendingBytes;
    int group = 0;
    bool groupStopsAtFailure = false;
    // The group whose save has failed and that stops there; later items of it are dropped.
    int stoppedGroup = -1;

    mutable std::mutex mutex;
    std::condition_variable wake;     // the saving thread: items or the end
    std::condition_variable drained;  // the caller: room in the queue
    std::deque<Item> items;
    std::size_t pendingBytes = 0;
    bool closing = false;
    bool held = false;
    // While held: no queued save has yet been found to need writing. Once one has, building
    // ahead is of no use (the disk waits for the release anyway) and would only take the
    // processor from validation, so the caller waits for the release.
    bool heldAllSettled = true;
    // While held: items queued since the saving thread was last woken for them. It is woken
    // once per k_settleBatch items, or when the caller is about to wait, rather than for every
    // item: comparing a file is quicker than building it, so the thread would otherwise sleep
    // and be woken again for every file (a context switch each, about as dear as the compare).
    static constexpr std::size_t k_settleBatch = 32;
    std::size_t unannounced = 0;
    bool abandoned = false;
    std::exception_ptr failure;

    std::optional<LogRedirect> redirect;
    std::thread saver;
};
