#include "common/FileSaveQueue.h"

#include <iostream>
#include <system_error>
#include <utility>

#include "common/OutputFile.h"

namespace {

// Collects the lines logged by the thread that points its log at it.
class LinesSink : public LogSink {
public:
    void write(std::string more) override { lines += more; }
    std::string lines;
};

}  // namespace

FileSaveQueue::FileSaveQueue(bool verboseRun, std::size_t maxPending, bool startHeld,
                             bool intoEmptyDirectory)
    : verbose(verboseRun),
      expectNewFiles(intoEmptyDirectory),
      maxPendingBytes(maxPending),
      held(startHeld) {
    try {
        saver = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: every save is made on the spot, in the same order.
        closing = true;
        held = false;
        return;
    }
    redirect.emplace(static_cast<LogSink&>(*this));
}

FileSaveQueue::~FileSaveQueue() {
    stop();
}

void FileSaveQueue::startGroup(bool stopsAtFailure) {
    ++group;
    groupStopsAtFailure = stopsAtFailure;
}

bool FileSaveQueue::isHeld() const {
    std::lock_guard<std::mutex> lock(mutex);
    return held;
}

void FileSaveQueue::release() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        held = false;
    }
    wake.notify_all();
    drained.notify_all();
}

void FileSaveQueue::abandon() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        held = false;
        abandoned = true;
    }
    wake.notify_all();
    drained.notify_all();
}

void FileSaveQueue::save(std::string path, std::string text) {
    Item item;
    item.isSave = true;
    item.path = std::move(path);
    item.text = std::move(text);
    push(std::move(item));
}

void FileSaveQueue::write(std::string lines) {
    Item item;
    item.text = std::move(lines);
    push(std::move(item));
}

void FileSaveQueue::push(Item item) {
    item.group = group;
    item.stopsAtFailure = groupStopsAtFailure;
    const std::size_t size = item.text.size();
    std::unique_lock<std::mutex> lock(mutex);
    // An item larger than the bound goes in alone rather than waiting for ever. A queue that
    // has stopped, never started or been abandoned takes the item at once.
    auto mayGoOn = [&] {
        if (closing || abandoned) {
            return true;
        }
        if (held && !heldAllSettled) {
            return false;
        }
        return pendingBytes == 0 || pendingBytes + size <= maxPendingBytes;
    };
    if (!mayGoOn()) {
        // Whatever the saving thread has not been woken for yet may be what makes room.
        unannounced = 0;
        wake.notify_one();
        drained.wait(lock, mayGoOn);
    }
    if (abandoned) {
        if (item.isSave) {
            throw Abandoned{};
        }
        return;
    }
    if (closing) {
        // The thread has stopped or never started: on the spot, as without a queue.
        lock.unlock();
        handle(item);
        return;
    }
    const bool wasEmpty = items.empty();
    pendingBytes += size;
    items.push_back(std::move(item));
    // A held queue's thread works through items already queued and then waits for more: it is
    // woken for a batch of them.
    if (held) {
        if (++unannounced >= k_settleBatch) {
            unannounced = 0;
            wake.notify_one();
        }
    } else if (wasEmpty) {
        wake.notify_one();
    }
}

void FileSaveQueue::handle(const Item& item) {
    if (item.group == stoppedGroup) {
        return;
    }
    if (!item.isSave) {
        std::cout << item.text;
        return;
    }
    if (!saveGeneratedFile(item.path, item.text, verbose, expectNewFiles) && item.stopsAtFailure) {
        stoppedGroup = item.group;
    }
}

void FileSaveQueue::run() {
    std::deque<Item> batch;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (held) {
                settleWhileHeld(lock);
            }
            wake.wait(lock, [&] { return !items.empty() || closing; });
            if (items.empty()) {
                return;
            }
            batch.swap(items);
            pendingBytes = 0;
            if (failure || abandoned) {
                // After a failure of this thread, or once abandoned, nothing more is saved or
                // logged.
                batch.clear();
            }
        }
        drained.notify_all();
        try {
            for (const Item& item : batch) {
                handle(item);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            if (!failure) {
                failure = std::current_exception();
            }
        }
        batch.clear();
    }
}

void FileSaveQueue::settleWhileHeld(std::unique_lock<std::mutex>& lock) {
    // Items are only ever appended by other threads, and a deque keeps its elements in place
    // when appended to, so an item may be read without the lock. Only this thread changes or
    // removes items.
    std::size_t next = 0;
    for (;;) {
        wake.wait(lock, [&] { return !held || (heldAllSettled && next < items.size()); });
        if (!held) {
            return;
        }
        Item& item = items[next++];
        if (!item.isSave) {
            continue;
        }
        lock.unlock();
        // In a directory that was empty no file can hold its text yet: nothing to look for.
        const bool holds = !expectNewFiles && fileHolds(item.path, item.text);
        // A settled save becomes the lines its save logs, written now so that the release
        // only has to print them.
        LinesSink logged;
        if (holds) {
            LogRedirect toLines(logged);
            logGeneratedFileSave(item.path, item.text, verbose, WriteOutcome::Unchanged);
        }
        lock.lock();
        if (!holds) {
            // A later save of the same file must not be settled against what this one will
            // replace; comparing ends here and the rest waits for the release.
            heldAllSettled = false;
            continue;
        }
        pendingBytes = pendingBytes - item.text.size() + logged.lines.size();
        item.isSave = false;
        item.path = std::string();
        item.text = std::move(logged.lines);
        drained.notify_all();
    }
}

void FileSaveQueue::stop() noexcept {
    redirect.reset();
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
        if (held) {
            // Never released: nothing it holds was cleared to be written.
            held = false;
            abandoned = true;
        }
    }
    wake.notify_all();
    drained.notify_all();
    if (saver.joinable()) {
        saver.join();
    }
}

void FileSaveQueue::finish() {
    stop();
    if (failure) {
        std::exception_ptr rethrown = failure;
        failure = nullptr;
        std::rethrow_exception(rethrown);
    }
}
