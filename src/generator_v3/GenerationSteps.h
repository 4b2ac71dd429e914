#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "cli/InputData.h"
#include "common/CheckResult.h"
#include "common/Json.h"
#include "common/JsonMembers.h"
#include "common/ResultBase.h"
#include "mergers/Merger.h"

// The steps that every generator runs before it writes anything: presence rules, gateway
// filter, merge and validation. Generators differ only in their merger and their checkers.
namespace generation {

// May take the documents over from the input (see takingMerger).
using MergerFactory = std::function<Merger(InputData&)>;
using Validator = std::function<CheckResult(const Json&)>;

// Nodes and routing documents come together or not at all.
ResultBase checkDocumentsPresence(const InputData& input);

// Reduces the services document and every present routing, limits and nodes document (in this
// order) to the services of gateway gw, storing each back under its file name. Fails when a
// document cannot be filtered.
ResultBase filterByGateway(const std::string& gw, InputData& input);

// Merger() without nodes and routing; otherwise the nodes and routing steps, plus the limits
// step when a limits document is present.
Merger defaultMerger(const InputData& input);
// The same steps, taking the nodes, routing and limits documents over from the input instead of
// copying them: the input keeps their file names, with null documents.
Merger takingMerger(InputData& input);

// Presence rules, gateway filter (when the run names a gateway) and merge: prepareServices
// without the validation. merged is not yet validated on success.
ResultBase mergeServices(InputData& input, const MergerFactory& getMerger, Json& merged);

// Presence rules, gateway filter (when the run names a gateway), merge and validation. On
// success merged holds the validated services document, and the input's services document
// has been taken over by the merge (null afterwards).
ResultBase prepareServices(InputData& input, const MergerFactory& getMerger,
                           const Validator& validate, Json& merged);

// The service's "deploymentUnit" as compact JSON with every double quote removed: the string
// itself for a string value. Used unchanged as the prefix of output file names.
std::string cleanDeploymentUnit(const Json& service);

// The elements of value when it is an array; nothing otherwise. Lets the writing loops walk
// members that validation has checked without assuming their type twice.
const Json& arrayOrEmpty(const Json& value);

// The member key of value when value is an object that has it; null otherwise.
using json_members::memberOrNull;

}  // namespace generation
