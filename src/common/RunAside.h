#pragma once

#include <future>
#include <system_error>
#include <type_traits>

// Starts task on a thread of its own and returns its future. Where no thread can be had, the
// task runs when the future is asked for its result instead, on the asking thread, so the
// caller's order of results is the same either way.
template <class Task>
std::future<std::invoke_result_t<Task&>> runAside(Task task) {
    try {
        return std::async(std::launch::async, task);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, task);
    }
}
