#pragma once

#include <string>
#include <string_view>

#include "common/CheckResult.h"
#include "common/Json.h"
#include "common/ProcessingJson.h"
#include "common/ResultBase.h"

// Base of every checker. Refers to the JSON value under check and holds the rules that several
// checkers share. Rules never stop each other: each broken rule adds one failed entry, and the
// rules that return a plain ResultBase add one entry whether they pass or fail.
//
// The value is not copied: a document of tens of thousands of services is checked by one
// checker per service and concern, and copies would multiply its size. The value must outlive
// the checker, as it does where a generator checks the merged document it holds, or where a
// checker is made and used in one expression.
class CheckerBase {
public:
    explicit CheckerBase(const Json& json);
    virtual ~CheckerBase() = default;

    // Runs every rule of the checker and returns their entries in evaluation order.
    virtual CheckResult check() const = 0;

    // A copy of the value under check.
    Json getJson() const;

    // One entry, ok or failed: "subsystem" must be present and a string.
    ResultBase checkSubsystem() const;
    // "deploymentUnit" must be present and a string.
    CheckResult checkDeploymentUnit() const;
    // The value's own "protocols": required only when "schema_version" is "3"; at least one of
    // "http" and "https", each checked by checkHttp / checkHttps.
    CheckResult checkProtocols() const;
    CheckResult checkHttp(const Json& http) const;
    CheckResult checkHttps(const Json& https) const;

protected:
    // The value under check, without the copy that getJson() makes.
    const Json& json() const { return *checkedJson; }

    // True when value is an object with a member named key, whatever its value.
    static bool has(const Json& value, std::string_view key) {
        return ProcessingJson().exists(value, key);
    }
    static bool isNonEmptyString(const Json& value);
    static void addFailure(CheckResult& result, const std::string& message);
    // True when the number does not fit a signed 32-bit integer from above (values above
    // 2147483647; a fraction counts as its integer part). Builders read such numbers as int32.
    static bool isAboveInt32(const Json& number);
    // True when the number or boolean (false 0, true 1), cut to its integer part, is below
    // minimum. Call only for numbers that passed isAboveInt32.
    static bool isBelow(const Json& number, long long minimum);

private:
    const Json* checkedJson;
};
