#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "common/MergeResult.h"

// A step that joins one source document (nodes, routing or limits) into the services document.
// The predicates below test presence only and answer with an ok result (null document) or a
// failure carrying the given file name; the type tests answer the same way for values that the
// steps read as strings or arrays.
class MergerBase {
public:
    MergerBase() = default;
    explicit MergerBase(const nlohmann::json& sourceJson);
    // Takes the source document over instead of copying it.
    explicit MergerBase(nlohmann::json&& sourceJson);
    virtual ~MergerBase() = default;

    // Returns the services document with the source document joined in, or the step's first
    // failure. Never throws.
    virtual MergeResult merge(const nlohmann::json& services) = 0;
    // The same merge, done on services itself: on success services holds the document that
    // merge returns and the result is ok without a document; on failure services is unchanged
    // and the result is merge's failure. This default runs merge; the steps override it to add
    // their members to the document rather than copy the whole document.
    virtual MergeResult mergeInPlace(nlohmann::json& services);
    // Lets the next merge move the values it joins out of the source document instead of
    // copying them, which leaves the step spent: for a merger that is used once.
    void spendSourceOnNextMerge() { spendSource = true; }

    MergeResult isServicesExists(const nlohmann::json& value, const std::string& fileName) const;
    MergeResult isSubsystemExists(const nlohmann::json& value, const std::string& fileName) const;
    MergeResult isDeploymentUnitExists(const nlohmann::json& value,
                                       const std::string& fileName) const;
    MergeResult isApiVersionsExists(const nlohmann::json& value, const std::string& fileName) const;
    // Every element of "apiVersions" (iterated as the JSON library iterates any value) has
    // "version"; fails at the first that has not. "apiVersions" must be present.
    MergeResult isVersionInApiVersionsExists(const nlohmann::json& value,
                                             const std::string& fileName) const;
    MergeResult isUsedGatewaysExists(const nlohmann::json& value,
                                     const std::string& fileName) const;

    // True when some string element of a equals some string element of b. Arrays yield their
    // elements, objects their member values, a scalar is one element, null none. Elements that
    // are not strings never compare equal.
    bool equalsUsedGW(const nlohmann::json& a, const nlohmann::json& b) const;

protected:
    // Steps are moved (a Merger is returned by value) but never copied through the base.
    MergerBase(const MergerBase&) = default;
    MergerBase(MergerBase&&) = default;
    MergerBase& operator=(const MergerBase&) = default;
    MergerBase& operator=(MergerBase&&) = default;

    const nlohmann::json& getSourceJson() const { return sourceJson; }
    // Whether this merge may move values out of the source document.
    bool spendsSource() const { return spendSource; }
    // value (a part of the source document) moved when the merge spends the source, else copied.
    nlohmann::json takeOrCopy(const nlohmann::json& value) const;

    // "services" of value is an array.
    MergeResult isServicesArray(const nlohmann::json& value, const std::string& fileName) const;
    // "subsystem" and "deploymentUnit" of a present entry or service are strings.
    MergeResult checkKeyTypes(const nlohmann::json& value, const std::string& fileName) const;
    // "apiVersions" is an array whose elements' "version" members are strings.
    MergeResult checkApiVersionsTypes(const nlohmann::json& value,
                                      const std::string& fileName) const;
    // Every element of "usedGateways", when the member is present, is a string.
    MergeResult checkUsedGatewaysTypes(const nlohmann::json& value,
                                       const std::string& fileName) const;

private:
    nlohmann::json sourceJson;
    bool spendSource = false;
};
