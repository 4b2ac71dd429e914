#include "common/FileSaveQueue.h"

#include <iostream>
#include <system_error>
#include <utility>

#include "common/OutputFile.h"

FileSaveQueue::FileSaveQueue(bool verboseRun, std::size_t maxPending)
    : verbose(verboseRun), maxPendingBytes(maxPending) {
    try {
        saver = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had: every save is made on the spot, in the same order.
        closing = true;
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
    if (closing) {
        // The thread has stopped or never started: on the spot, as without a queue.
        lock.unlock();
        handle(item);
        return;
    }
    // An item larger than the bound goes in alone rather than waiting for ever.
    drained.wait(lock, [&] {
        return pendingBytes == 0 || pendingBytes + size <= maxPendingBytes || closing;
    });
    const bool wasEmpty = items.empty();
    pendingBytes += size;
    items.push_back(std::move(item));
    if (wasEmpty) {
        wake.notify_one();
    }
}

void FileSaveQueue::handle(const Item& item) {
    if (item.group == stoppedGroup) {
        return;
    }
    if (!item.isSave) {
        std::cout << item.text;
    } else if (!saveGeneratedFile(item.path, item.text, verbose) && item.stopsAtFailure) {
        stoppedGroup = item.group;
    }
}

void FileSaveQueue::run() {
    std::deque<Item> batch;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [&] { return !items.empty() || closing; });
            if (items.empty()) {
                return;
            }
            batch.swap(items);
            pendingBytes = 0;
            if (failure) {
                // After a failure of this thread nothing more is saved or logged.
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

void FileSaveQueue::stop() noexcept {
    redirect.reset();
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    wake.notify_one();
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
