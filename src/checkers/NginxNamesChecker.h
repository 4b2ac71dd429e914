#pragma once

#include "checkers/CheckerBase.h"
#include "common/Json.h"

// Rules over the whole merged services document for what nginx needs of one run's files
// together: names that two services must not share (upstreams, routing variables, zones,
// locations), and the run's own ports. The files of services with the same "deploymentUnit"
// replace each other, so only the files that remain are compared. ServicesChecker runs it after
// the service checkers.
class NginxNamesChecker : public CheckerBase {
public:
    explicit NginxNamesChecker(const Json& services);

    CheckResult check() const override;

    CheckResult checkPorts() const;
    CheckResult checkDeploymentUnits() const;
    CheckResult checkUpstreamNames() const;
    CheckResult checkZones() const;
    CheckResult checkLocations() const;
};
