#include "generator_v3/ConfigGeneratorV3.h"

#include "checkers/ServicesChecker.h"
#include "common/FileSaveQueue.h"
#include "common/LateRelease.h"
#include "common/Logger.h"
#include "common/OutputFile.h"
#include "common/ProcessingJson.h"
#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/GenerationSteps.h"
#include "generator_v3/LimitsBuilderV3.h"
#include "generator_v3/LocationsBuilderV3.h"
#include "generator_v3/NamesGenerator.h"
#include "generator_v3/RoutingBuilderV3.h"
#include "generator_v3/UpstreamsBuilderV3.h"

#include <exception>
#include <future>
#include <system_error>
#include <utility>

using generation::arrayOrEmpty;
using generation::memberOrNull;
using json = Json;

namespace {

// Points a generator's saves at queue for as long as it lives, also when building throws.
class QueueInUse {
public:
    QueueInUse(FileSaveQueue*& slot, FileSaveQueue& queue) : slot(slot) { slot = &queue; }
    ~QueueInUse() { slot = nullptr; }
    QueueInUse(const QueueInUse&) = delete;
    QueueInUse& operator=(const QueueInUse&) = delete;

private:
    FileSaveQueue*& slot;
};

}  // namespace

ConfigGeneratorV3::ConfigGeneratorV3(bool http, const std::string& hPort, bool https,
                                     const std::string& sPort, const std::string& cn)
    : isHttp(http), isHttps(https), httpPort(hPort), httpsPort(sPort), httpsCn(cn) {}

ConfigGeneratorV3::ConfigGeneratorV3(bool http, const std::string& hPort)
    : ConfigGeneratorV3(http, hPort, false, "", "") {}

ConfigGeneratorV3::ConfigGeneratorV3(bool https, const std::string& sPort, const std::string& cn)
    : ConfigGeneratorV3(false, "", https, sPort, cn) {}

ResultBase ConfigGeneratorV3::generate(InputData inputData) {
    json merged;
    // The merger of getMerger, taking the documents of this generator's own input over instead
    // of copying them.
    ResultBase prepared = generation::mergeServices(
        inputData, [](InputData& input) { return generation::takingMerger(input); }, merged);
    if (!prepared.getIsOk()) {
        return prepared;
    }

    const InputFlags& flags = inputData.flagsRef();
    const std::string outputDir = inputData.getOutputDir();
    ResultBase result = ResultBase::Ok();
    {
        // Files are saved on a thread of their own while the next ones are built. The queue
        // starts held: while the services are validated on a third thread, the files are
        // built and compared with what the directory holds, but nothing is written or printed
        // until validation has passed; when it fails, everything built is dropped.
        // Into a directory that is still empty, every file is new and is written without
        // looking for it first.
        FileSaveQueue saves(flags.getIsVerbose(), FileSaveQueue::k_defaultMaxPendingBytes, true,
                            directoryIsEmpty(outputDir));
        std::future<CheckResult> validation = validateReleasing(merged, saves);
        std::exception_ptr buildFailure;
        try {
            QueueInUse inUse(saveQueue, saves);
            generateAll(merged, outputDir, inputData, saves);
        } catch (const FileSaveQueue::Abandoned&) {
            // Validation failed while building: the rest would be dropped too.
        } catch (...) {
            // Building on unvalidated documents may fail; it only counts when they are valid.
            buildFailure = std::current_exception();
        }
        CheckResult checked = validation.get();
        if (!checked.getIsOk()) {
            result = ResultBase::Fail(checked.getErrorMessage());
        } else if (buildFailure) {
            std::rethrow_exception(buildFailure);
        }
        saves.finish();
    }
    LateRelease::release(std::make_shared<json>(std::move(merged)));
    return result;
}

std::future<CheckResult> ConfigGeneratorV3::validateReleasing(const json& merged,
                                                              FileSaveQueue& saves) {
    auto validate = [&merged, &saves] {
        try {
            CheckResult checked = ServicesChecker(merged).check();
            if (checked.getIsOk()) {
                saves.release();
            } else {
                saves.abandon();
            }
            return checked;
        } catch (...) {
            saves.abandon();
            throw;
        }
    };
    if (saves.isHeld()) {
        try {
            return std::async(std::launch::async, validate);
        } catch (const std::system_error&) {
            // No thread for it: validated below, before anything is built.
        }
    }
    std::future<CheckResult> now = std::async(std::launch::deferred, validate);
    now.wait();
    return now;
}

void ConfigGeneratorV3::generateAll(const json& merged, const std::string& outputDir,
                                    const InputData& inputData, FileSaveQueue& saves) {
    // The routing and limits walks stop at their first failed save; their groups end there too.
    const InputFlags& flags = inputData.flagsRef();
    saves.startGroup(false);
    generateLocations(merged, outputDir, flags.getIsIgnorePorts(), flags.getIsVerbose());
    if (inputData.nodesRef().isPresent()) {
        saves.startGroup(false);
        generateUpstreams(merged, outputDir, flags.getIsVerbose(), flags.getIsIgnorePorts());
    }
    if (inputData.routingRef().isPresent()) {
        saves.startGroup(true);
        generateRouting(merged, outputDir, flags.getIsVerbose());
    }
    if (inputData.limitsRef().isPresent()) {
        saves.startGroup(true);
        generateLimits(merged, outputDir, flags.getIsVerbose());
    }
}

std::shared_ptr<ConfigHeaderBase> ConfigGeneratorV3::buildConfigHeader() const {
    return std::make_shared<ConfigHeaderScheme3>();
}

Merger ConfigGeneratorV3::getMerger(const InputData& inputData) const {
    return generation::defaultMerger(inputData);
}

bool ConfigGeneratorV3::generateLocations(const json& merged, const std::string& outputDir,
                                          bool ignorePorts, bool verbose) {
    NamesGenerator names;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        const std::string prefix = outputDir + "/" + getCleanDeploymentUnit(service);
        if (isHttp) {
            LocationsBuilderV3 builder(httpPort, ignorePorts, buildConfigHeader());
            saveStringToFile(prefix + names.locationPostfixFname(false), builder.build(service),
                             verbose);
        }
        if (isHttps) {
            LocationsBuilderV3 builder(true, httpsCn, httpsPort, ignorePorts, buildConfigHeader());
            builder.setHttpFilesWritten(isHttp);
            saveStringToFile(prefix + names.locationPostfixFname(true), builder.build(service),
                             verbose);
        }
    }
    return true;
}

bool ConfigGeneratorV3::generateUpstreams(const json& merged, const std::string& outputDir,
                                          bool verbose, bool ignorePorts) {
    ProcessingJson processing;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        for (const json& apiVersion : arrayOrEmpty(memberOrNull(service, "apiVersions"))) {
            if (!processing.exists(apiVersion, "nodeGroups")) {
                continue;
            }
            for (const json& nodeGroup : arrayOrEmpty(apiVersion.at("nodeGroups"))) {
                if (isHttp) {
                    buildUpstream(service, nodeGroup, false, outputDir, httpPort, ignorePorts,
                                  verbose);
                }
                if (isHttps) {
                    buildUpstream(service, nodeGroup, true, outputDir, httpsPort, ignorePorts,
                                  verbose);
                }
            }
        }
    }
    return true;
}

bool ConfigGeneratorV3::buildUpstream(const json& service, const json& nodeGroup, bool https,
                                      const std::string& outputDir, const std::string& port,
                                      bool ignorePorts, bool verbose) {
    NamesGenerator names;
    const std::string path = outputDir + "/" +
                             names.upstreamPrefixFname(getCleanDeploymentUnit(service), nodeGroup) +
                             names.upstreamPostfixFname(https);
    UpstreamsBuilderV3 builder(https, port, ignorePorts, buildConfigHeader());
    std::string text;
    if (!builder.build(service, nodeGroup, verbose, text)) {
        return false;
    }
    return saveStringToFile(path, std::move(text), verbose);
}

bool ConfigGeneratorV3::generateRouting(const json& merged, const std::string& outputDir,
                                        bool verbose) {
    NamesGenerator names;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        const std::string prefix = outputDir + "/" + getCleanDeploymentUnit(service);
        if (isHttp && !generateRoutingForOneService(
                          service, prefix + names.routingPostfixFname(false), false, verbose)) {
            return false;
        }
        if (isHttps && !generateRoutingForOneService(
                           service, prefix + names.routingPostfixFname(true), true, verbose)) {
            return false;
        }
    }
    return true;
}

bool ConfigGeneratorV3::generateRoutingForOneService(const json& service, const std::string& path,
                                                     bool https, bool verbose) {
    if (verbose) {
        Logger::logDebug("routing: out file = " + path);
    }
    RoutingBuilderV3 builder(https, buildConfigHeader());
    std::string text;
    if (!builder.build(service, verbose, text)) {
        return false;
    }
    return saveStringToFile(path, std::move(text), verbose);
}

bool ConfigGeneratorV3::generateLimits(const json& merged, const std::string& outputDir,
                                       bool verbose) {
    ProcessingJson processing;
    for (const json& service : arrayOrEmpty(memberOrNull(merged, "services"))) {
        if (!processing.exists(service, "quotas")) {
            continue;
        }
        LimitsBuilderV3 builder(buildConfigHeader());
        std::string text;
        // The builder's result only reports a warning it has already logged; its text is
        // complete either way.
        builder.build(service, verbose, text);
        const std::string path =
            outputDir + "/" + getCleanDeploymentUnit(service) + ".limits.vek.conf";
        if (!saveStringToFile(path, std::move(text), verbose)) {
            return false;
        }
    }
    return true;
}

bool ConfigGeneratorV3::saveStringToFile(const std::string& path, std::string text, bool verbose) {
    if (saveQueue != nullptr) {
        // Its outcome is the queue's: a failure ends the group there.
        saveQueue->save(path, std::move(text));
        return true;
    }
    return saveGeneratedFile(path, text, verbose);
}

std::string ConfigGeneratorV3::getCleanDeploymentUnit(const json& service) const {
    return generation::cleanDeploymentUnit(service);
}
