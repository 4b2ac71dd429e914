#pragma once

#include <future>
#include <memory>
#include <string>

#include "cli/InputData.h"
#include "common/CheckResult.h"
#include "common/Json.h"
#include "common/ResultBase.h"
#include "generator_v3/ConfigHeaderBase.h"
#include "mergers/Merger.h"

class FileSaveQueue;

// Schema-3 generator: presence rules, gateway filter, merge and validation, then location,
// upstream, routing and limits files for the protocols of the run. Once validation has passed,
// a file that cannot be built or written is reported on its own and does not fail the run.
class ConfigGeneratorV3 {
public:
    ConfigGeneratorV3(bool isHttp, const std::string& httpPort, bool isHttps,
                      const std::string& httpsPort, const std::string& httpsCn);
    // HTTP only.
    ConfigGeneratorV3(bool isHttp, const std::string& httpPort);
    // HTTPS only.
    ConfigGeneratorV3(bool isHttps, const std::string& httpsPort, const std::string& httpsCn);

    ResultBase generate(InputData inputData);

    std::shared_ptr<ConfigHeaderBase> buildConfigHeader() const;
    Merger getMerger(const InputData& inputData) const;

    // Walks every service; save failures are logged and do not stop the walk. Always true.
    bool generateLocations(const Json& merged, const std::string& outputDir, bool ignorePorts,
                           bool verbose);
    // Walks every node group of every API version; always true.
    bool generateUpstreams(const Json& merged, const std::string& outputDir, bool verbose,
                           bool ignorePorts);
    // False when a node group's file could not be built or written.
    bool buildUpstream(const Json& service, const Json& nodeGroup, bool isHttps,
                       const std::string& outputDir, const std::string& port, bool ignorePorts,
                       bool verbose);
    // Stops at the first routing file that cannot be built or written.
    bool generateRouting(const Json& merged, const std::string& outputDir, bool verbose);
    bool generateRoutingForOneService(const Json& service, const std::string& path, bool isHttps,
                                      bool verbose);
    // One limits file per service with "quotas"; stops at the first file that cannot be written.
    bool generateLimits(const Json& merged, const std::string& outputDir, bool verbose);

    // Validates the merged services on a thread of its own, releasing saves when they pass
    // and abandoning it when they do not. Without a thread (or without a held queue) the
    // validation is done before this returns, so nothing is built ahead of it.
    static std::future<CheckResult> validateReleasing(const Json& merged, FileSaveQueue& saves);
    // Every file of the run, walk after walk, each walk a group of saves.
    void generateAll(const Json& merged, const std::string& outputDir, const InputData& inputData,
                     FileSaveQueue& saves);

    // Saves text at path. While generate runs, hands it to the run's save queue and returns
    // true; a failed save is then logged by the queue and ends the walk's group.
    bool saveStringToFile(const std::string& path, std::string text, bool verbose);
    std::string getCleanDeploymentUnit(const Json& service) const;

private:
    // While generate runs, the queue that saves the files; otherwise they are saved on the spot.
    FileSaveQueue* saveQueue = nullptr;
    bool isHttp;
    bool isHttps;
    std::string httpPort;
    std::string httpsPort;
    std::string httpsCn;
};
