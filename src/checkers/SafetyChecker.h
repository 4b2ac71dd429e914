#pragma once

#include <string>

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Rules that keep a service from writing outside the output directory, from changing the
// structure of the configuration it is written into, or from passing validation with values
// that the builders would not read as the checkers did, whatever the schema. Runs after the
// concern checkers of the service and adds entries only for broken rules, so the messages of
// services that keep these rules stay as they were.
class SafetyChecker : public CheckerBase {
public:
    explicit SafetyChecker(const Json& service);

    CheckResult check() const override;

    // The output files are named after "deploymentUnit" as it is: a string value must not hold
    // "/" or a control character, nor be "." or "..". One message per service.
    CheckResult checkDeploymentUnitAsFileName() const;
    // No string anywhere in the service (other than "deploymentUnit", which the rule above
    // covers) holds a control character: one message for each such value, naming its path.
    CheckResult checkControlCharacters() const;

    // Containers that the builders walk only when they have their expected type, while the
    // other checkers walk any value: "apiVersions", and "locations" and "nodeGroups" of every
    // API version, must be arrays; a node group's "protocols", and its "http" and "https", must
    // be objects. Otherwise a service would pass validation with parts that no file shows.
    CheckResult checkContainers() const;

    // Values written between double quotes that no other rule covers: the health check's
    // "handler" (inside check_http_send) and the "consumer.release" of routing entries with
    // "apiVersion", which the legacy routing builder writes as map keys. They must not hold the
    // quote (nor a backslash, which could escape it).
    CheckResult checkQuotedValues() const;

    // True when a deployment unit can name output files: no "/", no control character, not
    // "." or "..".
    static bool isFileNameSafe(const std::string& unit);
    // True when the text holds a byte below 0x20 or the byte 0x7f.
    static bool hasControlCharacter(const std::string& text);
    // The text as a JSON string literal: in double quotes, with quotes, backslashes and control
    // characters escaped, so that a message shows any value on one line.
    static std::string shown(const std::string& text);
    // "service " + the shown "SUBSYSTEM:DEPLOYMENTUNIT" of the service; a member that is not a
    // string is shown as "?".
    static std::string serviceLabel(const Json& service);
};
