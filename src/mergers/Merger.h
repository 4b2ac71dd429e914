#pragma once

#include <memory>
#include <vector>

#include "common/Json.h"
#include "mergers/MergerBase.h"

// Runs its merge steps in order over the services document. A failed step leaves the document
// as it was and does not stop the later steps; all failures are reported together.
class Merger : public MergerBase {
public:
    // No steps: merge returns the services document unchanged.
    Merger();
    // Nodes, then routing.
    Merger(const Json& nodes, const Json& routing);
    // Nodes, routing, then limits.
    Merger(const Json& nodes, const Json& routing, const Json& limits);
    // The same, the steps taking the documents over instead of copying them.
    Merger(Json&& nodes, Json&& routing);
    Merger(Json&& nodes, Json&& routing, Json&& limits);

    // Ok with the merged document, or a failure without file name whose message holds one line
    // per failed step: file name, ": ", the step's message (or the message alone when the step
    // gave no file name), each ended by "\n".
    MergeResult merge(const Json& services) override;
    // The same, taking the services document over: the steps add their members to it instead
    // of each copying it.
    MergeResult merge(Json&& services);
    // The same for a merger that is used once: the steps move the values they join out of
    // their documents instead of copying them, and the merger is spent afterwards.
    MergeResult mergeSpending(Json&& services);

protected:
    void addStep(std::unique_ptr<MergerBase> step);

private:
    std::vector<std::unique_ptr<MergerBase>> steps;
};
