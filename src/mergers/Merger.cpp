#include "mergers/Merger.h"

#include <string>
#include <utility>

#include "mergers/MergerLimits.h"
#include "mergers/MergerNodes.h"
#include "mergers/MergerRouting.h"

Merger::Merger() = default;

Merger::Merger(const Json& nodes, const Json& routing) {
    addStep(std::make_unique<MergerNodes>(nodes));
    addStep(std::make_unique<MergerRouting>(routing));
}

Merger::Merger(const Json& nodes, const Json& routing, const Json& limits)
    : Merger(nodes, routing) {
    addStep(std::make_unique<MergerLimits>(limits));
}

Merger::Merger(Json&& nodes, Json&& routing) {
    addStep(std::make_unique<MergerNodes>(std::move(nodes)));
    addStep(std::make_unique<MergerRouting>(std::move(routing)));
}

Merger::Merger(Json&& nodes, Json&& routing, Json&& limits)
    : Merger(std::move(nodes), std::move(routing)) {
    addStep(std::make_unique<MergerLimits>(std::move(limits)));
}

void Merger::addStep(std::unique_ptr<MergerBase> step) {
    steps.push_back(std::move(step));
}

MergeResult Merger::merge(const Json& services) {
    return merge(Json(services));
}

MergeResult Merger::mergeSpending(Json&& services) {
    for (const auto& step : steps) {
        step->spendSourceOnNextMerge();
    }
    return merge(std::move(services));
}

MergeResult Merger::merge(Json&& services) {
    // A failed step leaves the document as it was, and the next step runs all the same.
    std::string errors;
    for (const auto& step : steps) {
        MergeResult result = step->mergeInPlace(services);
        if (result.getIsOk()) {
            continue;
        }
        const std::string message = result.getErrorMessage();
        const std::string fileName = result.getErrorFname();
        if (message.empty()) {
            continue;
        }
        if (!fileName.empty()) {
            errors += fileName + ": ";
        }
        errors += message + "\n";
    }
    if (!errors.empty()) {
        return MergeResult(errors);
    }
    return MergeResult(std::move(services));
}
