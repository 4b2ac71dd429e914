#include "mergers/Merger.h"

#include <string>
#include <utility>

#include "mergers/MergerLimits.h"
#include "mergers/MergerNodes.h"
#include "mergers/MergerRouting.h"

Merger::Merger() = default;

Merger::Merger(const nlohmann::json& nodes, const nlohmann::json& routing) {
    addStep(std::make_unique<MergerNodes>(nodes));
    addStep(std::make_unique<MergerRouting>(routing));
}

Merger::Merger(const nlohmann::json& nodes, const nlohmann::json& routing,
               const nlohmann::json& limits)
    : Merger(nodes, routing) {
    addStep(std::make_unique<MergerLimits>(limits));
}

void Merger::addStep(std::unique_ptr<MergerBase> step) {
    steps.push_back(std::move(step));
}

MergeResult Merger::merge(const nlohmann::json& services) {
    // The input is read in place until a step produces a new document.
    nlohmann::json merged;
    const nlohmann::json* current = &services;
    std::string errors;
    for (const auto& step : steps) {
        MergeResult result = step->merge(*current);
        if (result.getIsOk()) {
            merged = result.takeJson();
            current = &merged;
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
    if (current == &services) {
        return MergeResult(services);
    }
    return MergeResult(std::move(merged));
}
