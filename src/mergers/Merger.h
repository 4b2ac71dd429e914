#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "mergers/MergerBase.h"

// Runs its merge steps in order over the services document. A failed step leaves the document
// as it was and does not stop the later steps; all failures are reported together.
class Merger : public MergerBase {
public:
    // No steps: merge returns the services document unchanged.
    Merger();
    // Nodes, then routing.
    Merger(const nlohmann::json& nodes, const nlohmann::json& routing);
    // Nodes, routing, then limits.
    Merger(const nlohmann::json& nodes, const nlohmann::json& routing,
           const nlohmann::json& limits);
    // The same, the steps taking the documents over instead of copying them.
    Merger(nlohmann::json&& nodes, nlohmann::json&& routing);
    Merger(nlohmann::json&& nodes, nlohmann::json&& routing, nlohmann::json&& limits);

    // Ok with the merged document, or a failure without file name whose message holds one line
    // per failed step: file name, ": ", the step's message (or the message alone when the step
    // gave no file name), each ended by "\n".
    MergeResult merge(const nlohmann::json& services) override;
    // The same, taking the services document over: the steps add their members to it instead
    // of each copying it.
    MergeResult merge(nlohmann::json&& services);
    // The same for a merger that is used once: the steps move the values they join out of
    // their documents instead of copying them, and the merger is spent afterwards.
    MergeResult mergeSpending(nlohmann::json&& services);

protected:
    void addStep(std::unique_ptr<MergerBase> step);

private:
    std::vector<std::unique_ptr<MergerBase>> steps;
};
