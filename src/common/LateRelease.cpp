#include "common/LateRelease.h"

#include <utility>
#include <vector>

namespace {

bool leaveToEnd = false;

// Never destroyed, so that what it holds stays reachable until the process ends.
std::vector<std::shared_ptr<void>>& kept() {
    static auto* objects = new std::vector<std::shared_ptr<void>>();
    return *objects;
}

}  // namespace

void LateRelease::leaveToProcessEnd() { leaveToEnd = true; }

void LateRelease::release(std::shared_ptr<void> object) {
    if (leaveToEnd) {
        kept().push_back(std::move(object));
    }
}
