#pragma once

#include <functional>
#include <string>

#include "common/Json.h"
#include "common/MergeResult.h"

class MergeKeyIndex;

// A step that joins one source document (nodes, routing or limits) into the services document.
// The predicates below test presence only and answer with an ok result (null document) or a
// failure carrying the given file name; the type tests answer the same way for values that the
// steps read as strings or arrays.
class MergerBase {
public:
    MergerBase() = default;
    explicit MergerBase(const Json& sourceJson);
    // Takes the source document over instead of copying it.
    explicit MergerBase(Json&& sourceJson);
    virtual ~MergerBase() = default;

    // Returns the services document with the source document joined in, or the step's first
    // failure. Never throws.
    virtual MergeResult merge(const Json& services) = 0;
    // The same merge, done on services itself: on success services holds the document that
    // merge returns and the result is ok without a document; on failure services is unchanged
    // and the result is merge's failure. This default runs merge; the steps override it to add
    // their members to the document rather than copy the whole document.
    virtual MergeResult mergeInPlace(Json& services);
    // Lets the next merge move the values it joins out of the source document instead of
    // copying them, which leaves the step spent: for a merger that is used once.
    void spendSourceOnNextMerge() { spendSource = true; }

    MergeResult isServicesExists(const Json& value, const std::string& fileName) const;
    MergeResult isSubsystemExists(const Json& value, const std::string& fileName) const;
    MergeResult isDeploymentUnitExists(const Json& value, const std::string& fileName) const;
    MergeResult isApiVersionsExists(const Json& value, const std::string& fileName) const;
    // Every element of "apiVersions" (iterated as the JSON library iterates any value) has
    // "version"; fails at the first that has not. "apiVersions" must be present.
    MergeResult isVersionInApiVersionsExists(const Json& value, const std::string& fileName) const;
    MergeResult isUsedGatewaysExists(const Json& value, const std::string& fileName) const;

    // True when some string element of a equals some string element of b. Arrays yield their
    // elements, objects their member values, a scalar is one element, null none. Elements that
    // are not strings never compare equal.
    bool equalsUsedGW(const Json& a, const Json& b) const;

protected:
    // Steps are moved (a Merger is returned by value) but never copied through the base.
    MergerBase(const MergerBase&) = default;
    MergerBase(MergerBase&&) = default;
    MergerBase& operator=(const MergerBase&) = default;
    MergerBase& operator=(MergerBase&&) = default;

    const Json& getSourceJson() const { return sourceJson; }
    // Whether this merge may move values out of the source document.
    bool spendsSource() const { return spendSource; }
    // value (a part of the source document) moved when the merge spends the source, else copied.
    Json takeOrCopy(const Json& value) const;

    using Check = std::function<MergeResult(const Json&)>;
    // One walk over the elements of a "services" section (as the JSON library iterates any
    // value; at 20,000 services every walk costs a cache miss per object): the first failed
    // presence test ends the walk and is its result. Where the elements form an array, the
    // first wrong type found by typesOf is kept in types until then, and with an index given,
    // every element whose types are right so far is added at its position.
    MergeResult walkServices(const Json& list, const Check& presence, const Check& typesOf,
                             MergeResult& types, MergeKeyIndex* index) const;

    // "services" of value is an array.
    MergeResult isServicesArray(const Json& value, const std::string& fileName) const;
    // "subsystem" and "deploymentUnit" of a present entry or service are strings.
    MergeResult checkKeyTypes(const Json& value, const std::string& fileName) const;
    // "apiVersions" is an array whose elements' "version" members are strings.
    MergeResult checkApiVersionsTypes(const Json& value, const std::string& fileName) const;
    // Every element of "usedGateways", when the member is present, is a string.
    MergeResult checkUsedGatewaysTypes(const Json& value, const std::string& fileName) const;

private:
    Json sourceJson;
    bool spendSource = false;
};
