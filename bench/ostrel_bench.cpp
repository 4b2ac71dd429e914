// Benchmark of ostrel on large synthetic inventories.
//
//   ostrel_bench [--repeat R] [--seed S] [--dir DIR] [--keep] [N ...]
//                                                      (default N: 1000 5000 20000, R 3, S 1)
//
// For every N it makes a seeded inventory of N services (9 files each) and measures, each in a
// process of its own so that times, processor times and peak memory do not mix, R times (median
// reported; the sizes take turns, one repetition of each at a time):
//   run      the whole ostrel program into a fresh, empty directory;
//   again    the same run again into that now populated directory (every file unchanged);
//   stages   the library stage by stage: load and parse, gateway filter, merge, validation,
//            building every text, writing every file;
//   floor    what no implementation avoids: parsing the same four documents with the JSON
//            library, plus writing the same bytes into as many new files, the way ostrel
//            writes them into an empty directory (writeNewFile), into a fresh directory;
//   parse    the peak memory of a process that only parses the four documents.
// Every directory written to is new and none is deleted while the benchmark runs (creating
// files soon after deleting many is several times slower on ext4); all of them stay under the
// work directory, which the benchmark removes only at its very end (not with --keep). Before
// each measured process the file system is synced and left a second, untimed: otherwise the
// kernel writes back what the measurements before left in the page cache while the next one
// runs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "checkers/ServicesChecker.h"
#include "cli/InputData.h"
#include "cli/InputFlags.h"
#include "cli/InputLoading.h"
#include "cli/RunDriver.h"
#include "common/FileNames.h"
#include "common/Json.h"
#include "common/LateRelease.h"
#include "common/OutputFile.h"
#include "generator_v3/ConfigHeaderScheme3.h"
#include "generator_v3/GenerationSteps.h"
#include "generator_v3/LimitsBuilderV3.h"
#include "generator_v3/LocationsBuilderV3.h"
#include "generator_v3/NamesGenerator.h"
#include "generator_v3/RoutingBuilderV3.h"
#include "generator_v3/UpstreamsBuilderV3.h"
#include "support/OutputDigest.h"
#include "support/SyntheticInventory.h"

namespace fs = std::filesystem;
using json = Json;
using testsupport::SyntheticInventory;

namespace {

const char* const k_documents[] = {"services.json", "nodes.json", "routing.json", "limits.json"};

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double secondsOf(const struct timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// The whole file in one read, as the program reads its documents, so that the floor's parsing
// is not slowed by reading character by character.
std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Named measurements of a child process, one "name value" per line.
using Figures = std::map<std::string, double>;

void writeFigures(const std::string& path, const Figures& figures) {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& [name, value] : figures) {
        out << name << " " << value << "\n";
    }
}

Figures readFigures(const std::string& path) {
    Figures figures;
    std::ifstream in(path);
    std::string name;
    double value = 0;
    while (in >> name >> value) {
        figures[name] = value;
    }
    return figures;
}

// ---------------------------------------------------------------------------------------------
// Child modes.

std::vector<std::string> ostrelArguments(const std::string& in, const std::string& out) {
    return {"-s",  in + "/services.json",
            "-n",  in + "/nodes.json",
            "-r",  in + "/routing.json",
            "-l",  in + "/limits.json",
            "-o",  out,
            "-gw", SyntheticInventory::gatewayName()};
}

ArgumentMap argumentMapOf(const std::vector<std::string>& arguments) {
    ArgumentMap map;
    for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
        map[arguments[i]] = arguments[i + 1];
    }
    return map;
}

// The schema-3 run through the library, one stage at a time, as the driver and the generator
// run it. Building keeps every text in memory so that writing can be timed on its own.
int runStages(const std::string& in, const std::string& out, const std::string& figuresPath) {
    Figures figures;
    const ArgumentMap arguments = argumentMapOf(ostrelArguments(in, out));

    auto start = Clock::now();
    checkInputFilesAsNotEmpty(arguments);
    std::string version = "3";
    ParsedDocuments parsed;
    if (!getSchemaVersion(arguments, version, &parsed)) {
        return 1;
    }
    InputFlags flags(arguments);
    auto load = [&](const char* option) {
        auto found = parsed.find(option);
        return found != parsed.end() ? std::move(found->second) : loadJson(option, arguments);
    };
    InputJson routing = getRoutingJson(load("-r"));
    InputJson nodes = getNodesJson(load("-n"));
    InputJson services(SERVICES_JSON, load("-s").takeJson());
    InputJson limits(LIMITS_JSON, load("-l").takeJson());
    InputData input(flags, std::move(services), std::move(nodes), std::move(routing),
                    std::move(limits), out);
    bool isHttp = false;
    bool isHttps = false;
    std::string httpPort;
    std::string httpsPort;
    std::string httpsCn;
    if (!getProtocols(input.nodesRef(), isHttp, httpPort, isHttps, httpsPort, httpsCn)) {
        return 1;
    }
    figures["load"] = secondsSince(start);

    start = Clock::now();
    if (!generation::filterByGateway(flags.getGW(), input).getIsOk()) {
        return 1;
    }
    figures["filter"] = secondsSince(start);

    start = Clock::now();
    json merged;
    {
        Merger merger = generation::takingMerger(input);
        MergeResult mergeResult = merger.mergeSpending(std::move(input.servicesRef().editJson()));
        if (!mergeResult.getIsOk()) {
            return 1;
        }
        merged = mergeResult.takeJson();
        LateRelease::release(std::make_shared<Merger>(std::move(merger)));
    }
    figures["merge"] = secondsSince(start);

    start = Clock::now();
    if (!ServicesChecker(merged).check().getIsOk()) {
        return 1;
    }
    figures["validate"] = secondsSince(start);

    start = Clock::now();
    std::vector<std::pair<std::string, std::string>> files;
    NamesGenerator names;
    auto header = [] { return std::make_shared<ConfigHeaderScheme3>(); };
    const json& serviceList = merged.at("services");
    const bool ignorePorts = flags.getIsIgnorePorts();
    for (const json& service : serviceList) {
        const std::string unit = generation::cleanDeploymentUnit(service);
        const std::string prefix = out + "/" + unit;
        if (isHttp) {
            LocationsBuilderV3 builder(httpPort, ignorePorts, header());
            files.emplace_back(prefix + names.locationPostfixFname(false), builder.build(service));
        }
        if (isHttps) {
            LocationsBuilderV3 builder(true, httpsCn, httpsPort, ignorePorts, header());
            builder.setHttpFilesWritten(isHttp);
            files.emplace_back(prefix + names.locationPostfixFname(true), builder.build(service));
        }
    }
    for (const json& service : serviceList) {
        const std::string unit = generation::cleanDeploymentUnit(service);
        for (const json& apiVersion : service.at("apiVersions")) {
            if (apiVersion.find("nodeGroups") == apiVersion.end()) {
                continue;
            }
            for (const json& nodeGroup : apiVersion.at("nodeGroups")) {
                for (bool https : {false, true}) {
                    if (https ? !isHttps : !isHttp) {
                        continue;
                    }
                    UpstreamsBuilderV3 builder(https, https ? httpsPort : httpPort, ignorePorts,
                                               header());
                    std::string text;
                    if (builder.build(service, nodeGroup, false, text)) {
                        files.emplace_back(out + "/" + names.upstreamPrefixFname(unit, nodeGroup) +
                                               names.upstreamPostfixFname(https),
                                           std::move(text));
                    }
                }
            }
        }
    }
    for (const json& service : serviceList) {
        const std::string prefix = out + "/" + generation::cleanDeploymentUnit(service);
        for (bool https : {false, true}) {
            if (https ? !isHttps : !isHttp) {
                continue;
            }
            std::string text;
            RoutingBuilderV3(https, header()).build(service, false, text);
            files.emplace_back(prefix + names.routingPostfixFname(https), std::move(text));
        }
    }
    for (const json& service : serviceList) {
        if (service.find("quotas") == service.end()) {
            continue;
        }
        std::string text;
        LimitsBuilderV3(header()).build(service, false, text);
        files.emplace_back(
            out + "/" + generation::cleanDeploymentUnit(service) + ".limits.vek.conf",
            std::move(text));
    }
    figures["build"] = secondsSince(start);

    start = Clock::now();
    // As the program saves into a directory that is empty when the run begins.
    const bool intoEmptyDirectory = directoryIsEmpty(out);
    for (const auto& [path, text] : files) {
        saveGeneratedFile(path, text, false, intoEmptyDirectory);
    }
    figures["write"] = secondsSince(start);
    figures["files"] = static_cast<double>(files.size());
    writeFigures(figuresPath, figures);
    return 0;
}

// Parses the four documents and keeps them, so that the process's peak memory is that of the
// parsed documents.
int runParse(const std::string& in, const std::string& figuresPath) {
    auto start = Clock::now();
    std::vector<json> documents;
    for (const char* name : k_documents) {
        documents.push_back(json::parse(readWhole(in + "/" + name)));
    }
    writeFigures(figuresPath, {{"parse", secondsSince(start)}});
    return 0;
}

// The floor: parsing the four documents, then writing the bytes of every file of a finished run
// (read beforehand, in the order of its log) into a fresh directory through writeNewFile, as the
// program writes into an empty directory.
int runFloor(const std::string& in, const std::string& reference, const std::string& log,
             const std::string& out, const std::string& figuresPath) {
    std::vector<std::pair<std::string, std::string>> files;
    std::ifstream lines(log);
    const std::string marker = "INFO: save file " + reference + "/";
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos) {
            const std::string name = line.substr(at + marker.size());
            files.emplace_back(out + "/" + name, readWhole(reference + "/" + name));
        }
    }

    Figures figures;
    // The processor times of the measured part only, without reading the files beforehand.
    struct rusage before {};
    getrusage(RUSAGE_SELF, &before);
    auto start = Clock::now();
    std::vector<json> documents;
    for (const char* name : k_documents) {
        documents.push_back(json::parse(readWhole(in + "/" + name)));
    }
    figures["parse"] = secondsSince(start);

    start = Clock::now();
    for (const auto& [path, text] : files) {
        if (writeNewFile(path, text) != WriteOutcome::Written) {
            return 1;
        }
    }
    figures["write"] = secondsSince(start);
    figures["files"] = static_cast<double>(files.size());
    struct rusage after {};
    getrusage(RUSAGE_SELF, &after);
    figures["user"] = secondsOf(after.ru_utime) - secondsOf(before.ru_utime);
    figures["system"] = secondsOf(after.ru_stime) - secondsOf(before.ru_stime);
    writeFigures(figuresPath, figures);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Parent: runs the children and reports.

struct ChildRun {
    double seconds = 0;
    double peakMiB = 0;
    double userSeconds = 0;    // processor time in the program itself
    double systemSeconds = 0;  // processor time in the kernel on its behalf (files, memory)
    bool ok = false;
};

// Runs program with arguments, standard output into stdoutPath; wall time, processor times and
// peak resident memory of that process alone.
ChildRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& stdoutPath) {
    std::vector<std::string> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    std::cout.flush();
    // Whatever earlier measurements left in the page cache is written out first, untimed, and
    // the disk is left a second to settle, so that the kernel's writing back does not fall into
    // this measurement.
    sync();
    sleep(1);
    auto start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            close(fd);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    ChildRun run;
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) {
        return run;
    }
    run.seconds = secondsSince(start);
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.userSeconds = secondsOf(usage.ru_utime);
    run.systemSeconds = secondsOf(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Inode and modification time of every file in dir.
std::map<std::string, std::pair<ino_t, std::int64_t>> fileIdentities(const std::string& dir) {
    std::map<std::string, std::pair<ino_t, std::int64_t>> identities;
    for (const auto& entry : fs::directory_iterator(dir)) {
        struct stat st {};
        if (stat(entry.path().c_str(), &st) == 0) {
            identities[entry.path().filename().string()] = {
                st.st_ino,
                static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
        }
    }
    return identities;
}

// The median over the repetitions of a ratio of two figures taken in the same repetition. The
// file system's speed drifts by up to a factor of two within minutes on a virtual machine; two
// figures taken next to each other meet the same state, so their ratio is steadier than the
// ratio of medians taken far apart.
template <typename Ratio>
double medianRatio(std::size_t repetitions, Ratio ratio) {
    std::vector<double> values;
    for (std::size_t r = 0; r < repetitions; ++r) {
        values.push_back(ratio(r));
    }
    return median(values);
}

// What the runs of one kind of the program measured, one entry per repetition.
struct ProgramRuns {
    std::vector<double> seconds, peakMiB, userSeconds, systemSeconds;

    void add(const ChildRun& run) {
        seconds.push_back(run.seconds);
        peakMiB.push_back(run.peakMiB);
        userSeconds.push_back(run.userSeconds);
        systemSeconds.push_back(run.systemSeconds);
    }
};

// Everything measured for one inventory size, one entry per repetition.
struct SizeMeasurements {
    int services = 0;
    std::string base;  // the size's work directory
    std::string in;    // its inventory
    double inputMiB = 0;
    std::size_t files = 0;
    ProgramRuns run;    // into a fresh directory
    ProgramRuns again;  // into the directory the run filled
    std::vector<double> floorParse, floorWrite, floorUser, floorSystem, parsePeak;
    std::map<std::string, std::vector<double>> stages;
    std::string firstDigest;
    bool identical = true;
    bool untouched = true;

    std::size_t repetitions() const { return run.seconds.size(); }
    double floorOf(std::size_t r) const { return floorParse[r] + floorWrite[r]; }
    double runOverFloor() const {
        return medianRatio(repetitions(),
                           [this](std::size_t r) { return run.seconds[r] / floorOf(r); });
    }
    double againOverRun() const {
        return medianRatio(repetitions(),
                           [this](std::size_t r) { return again.seconds[r] / run.seconds[r]; });
    }
    double peakOverParse() const { return median(run.peakMiB) / median(parsePeak); }
};

void fail(const std::string& message) {
    std::cerr << "ostrel_bench: " << message << "\n";
    std::exit(1);
}

// The size's directory and inventory.
SizeMeasurements prepare(const std::string& self, const std::string& root, int services,
                         std::uint64_t seed) {
    SizeMeasurements m;
    m.services = services;
    m.base = root + "/n" + std::to_string(services);
    m.in = m.base + "/in";
    fs::create_directories(m.in);
    // Written by a child process: a child's peak memory counts what its parent held when it was
    // forked, and building the inventory here would leave this process large for the rest of
    // the benchmark (freed memory is not given back), inflating every peak measured after it.
    if (!runChild(self, {"inventory", std::to_string(services), std::to_string(seed), m.in},
                  "/dev/null")
             .ok) {
        fail("could not write the inventory into " + m.in);
    }
    for (const char* name : k_documents) {
        m.inputMiB += static_cast<double>(fs::file_size(m.in + "/" + name)) / (1024.0 * 1024.0);
    }
    return m;
}

// Repetition r of every measurement of one size: the run, the run again, the stages, the floor
// (which writes the files of the first run) and the parse-alone peak. From the second repetition
// on, every other repetition measures the floor before the run, so that the order in which they
// meet the file system's state does not favour either.
void measureOnce(const std::string& self, SizeMeasurements& m, int r) {
    const std::string tag = std::to_string(r);
    const bool floorFirst = r % 2 == 1;
    auto measureFloor = [&] {
        const std::string reference = m.base + "/run0";
        const std::string floorOut = m.base + "/floor" + tag;
        fs::create_directory(floorOut);
        ChildRun floor = runChild(self,
                                  {"floor", m.in, reference, reference + ".log", floorOut,
                                   m.base + "/floor" + tag + ".figures"},
                                  "/dev/null");
        if (!floor.ok) {
            fail("the floor run failed on " + m.in);
        }
        Figures floorFigures = readFigures(m.base + "/floor" + tag + ".figures");
        m.floorParse.push_back(floorFigures["parse"]);
        m.floorWrite.push_back(floorFigures["write"]);
        m.floorUser.push_back(floorFigures["user"]);
        m.floorSystem.push_back(floorFigures["system"]);
    };
    if (floorFirst) {
        measureFloor();
    }
    const std::string out = m.base + "/run" + tag;
    fs::create_directory(out);
    ChildRun fresh = runChild(OSTREL_BINARY, ostrelArguments(m.in, out), out + ".log");
    if (!fresh.ok) {
        fail("ostrel failed on " + m.in + "; see " + out + ".log");
    }
    m.run.add(fresh);
    const std::string freshLog = readWhole(out + ".log");
    const std::string digest =
        testsupport::OutputDigest::hex(testsupport::OutputDigest::ofRun(out, freshLog));
    if (r == 0) {
        m.firstDigest = digest;
        m.files = std::distance(fs::directory_iterator(out), fs::directory_iterator());
    } else if (digest != m.firstDigest) {
        m.identical = false;
    }

    const auto before = fileIdentities(out);
    ChildRun rerun = runChild(OSTREL_BINARY, ostrelArguments(m.in, out), out + ".again.log");
    if (!rerun.ok) {
        fail("ostrel failed again on " + m.in);
    }
    m.again.add(rerun);
    if (fileIdentities(out) != before) {
        m.untouched = false;
    }
    if (readWhole(out + ".again.log") != freshLog) {
        m.identical = false;
    }

    const std::string stagesOut = m.base + "/stages" + tag;
    fs::create_directory(stagesOut);
    ChildRun staged =
        runChild(self, {"stages", m.in, stagesOut, m.base + "/stages" + tag + ".figures"},
                 stagesOut + ".log");
    if (!staged.ok) {
        fail("the stage-by-stage run failed on " + m.in);
    }
    for (const auto& [name, value] : readFigures(m.base + "/stages" + tag + ".figures")) {
        m.stages[name].push_back(value);
    }
    // The stage-by-stage run must have written the very files of the whole run.
    if (testsupport::OutputDigest::ofRun(stagesOut, "") !=
        testsupport::OutputDigest::ofRun(out, "")) {
        m.identical = false;
    }

    if (!floorFirst) {
        measureFloor();
    }
    ChildRun parse =
        runChild(self, {"parse", m.in, m.base + "/parse" + tag + ".figures"}, "/dev/null");
    if (!parse.ok) {
        fail("the parse run failed on " + m.in);
    }
    m.parsePeak.push_back(parse.peakMiB);
}

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(decimals);
    text << value;
    return text.str();
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void report(const std::vector<SizeMeasurements>& sizes, int repeat) {
    std::cout << "\nMedians of " << repeat
              << " measurements (ratios: the median of the ratios within each repetition). "
                 "Times in seconds, memory in MiB.\n\n";
    std::cout << padded("N", 7) << padded("input", 8) << padded("files", 8) << padded("run", 8)
              << padded("floor", 8) << padded("run/fl", 8) << padded("again", 8)
              << padded("ag/run", 8) << padded("peak", 8) << padded("parse", 8)
              << padded("pk/pa", 8) << "\n";
    for (const auto& m : sizes) {
        std::vector<double> floors;
        for (std::size_t r = 0; r < m.repetitions(); ++r) {
            floors.push_back(m.floorOf(r));
        }
        std::cout << padded(std::to_string(m.services), 7) << padded(fixed(m.inputMiB, 1), 8)
                  << padded(std::to_string(m.files), 8)
                  << padded(fixed(median(m.run.seconds), 3), 8)
                  << padded(fixed(median(floors), 3), 8) << padded(fixed(m.runOverFloor(), 2), 8)
                  << padded(fixed(median(m.again.seconds), 3), 8)
                  << padded(fixed(m.againOverRun(), 2), 8)
                  << padded(fixed(median(m.run.peakMiB), 1), 8)
                  << padded(fixed(median(m.parsePeak), 1), 8)
                  << padded(fixed(m.peakOverParse(), 2), 8) << "\n";
    }

    std::cout << "\nStages of the library run, and the floor's two parts (seconds):\n\n";
    std::cout << padded("N", 7) << padded("load", 8) << padded("filter", 8) << padded("merge", 8)
              << padded("valid", 8) << padded("build", 8) << padded("write", 8) << padded("sum", 8)
              << padded("fl.parse", 9) << padded("fl.write", 9) << "\n";
    for (const auto& m : sizes) {
        Figures s;
        for (const auto& [name, values] : m.stages) {
            s[name] = median(values);
        }
        const double sum =
            s["load"] + s["filter"] + s["merge"] + s["validate"] + s["build"] + s["write"];
        std::cout << padded(std::to_string(m.services), 7) << padded(fixed(s["load"], 3), 8)
                  << padded(fixed(s["filter"], 3), 8) << padded(fixed(s["merge"], 3), 8)
                  << padded(fixed(s["validate"], 3), 8) << padded(fixed(s["build"], 3), 8)
                  << padded(fixed(s["write"], 3), 8) << padded(fixed(sum, 3), 8)
                  << padded(fixed(median(m.floorParse), 3), 9)
                  << padded(fixed(median(m.floorWrite), 3), 9) << "\n";
    }

    // What the processes spent themselves and what the kernel spent for them: the kernel's share
    // (creating files, bringing in memory) is the part that moves with the machine's state.
    std::cout << "\nProcessor time, program / kernel (seconds):\n\n";
    std::cout << padded("N", 7) << padded("run", 16) << padded("again", 16) << padded("floor", 16)
              << "\n";
    auto pair = [](const std::vector<double>& user, const std::vector<double>& system) {
        return padded(fixed(median(user), 2) + " / " + fixed(median(system), 2), 16);
    };
    for (const auto& m : sizes) {
        std::cout << padded(std::to_string(m.services), 7)
                  << pair(m.run.userSeconds, m.run.systemSeconds)
                  << pair(m.again.userSeconds, m.again.systemSeconds)
                  << pair(m.floorUser, m.floorSystem) << "\n";
    }

    std::cout << "\nChecks: ";
    bool allGood = true;
    for (const auto& m : sizes) {
        if (!m.identical || !m.untouched ||
            m.files != static_cast<std::size_t>(m.services) *
                           static_cast<std::size_t>(SyntheticInventory::filesPerService())) {
            allGood = false;
            std::cout << "\n  N=" << m.services << ": files " << m.files
                      << (m.identical ? "" : ", output differs between runs")
                      << (m.untouched ? "" : ", the run again touched unchanged files");
        }
    }
    std::cout << (allGood ? "every run wrote the same files; runs again touched no file.\n" : "\n");

    std::cout << "\nTargets (medians of the ratios within each repetition):\n";
    const SizeMeasurements* at5000 = nullptr;
    const SizeMeasurements* at20000 = nullptr;
    for (const auto& m : sizes) {
        if (m.services == 5000) {
            at5000 = &m;
        }
        if (m.services == 20000) {
            at20000 = &m;
        }
    }
    if (at5000 != nullptr && at20000 != nullptr) {
        // The sizes take turns within a repetition, so the two runs of a ratio are minutes
        // apart at most.
        const double scaling = medianRatio(at20000->repetitions(), [&](std::size_t r) {
            return at20000->run.seconds[r] / at5000->run.seconds[r];
        });
        std::cout << "  time(20000) / time(5000), fresh directories: " << fixed(scaling, 2)
                  << " (target at most 4.4)\n";
    }
    if (at20000 != nullptr) {
        const SizeMeasurements& m = *at20000;
        std::cout << "  run / floor at N=20000:                      " << fixed(m.runOverFloor(), 2)
                  << " (target at most 1.2)\n";
        std::cout << "  run again / fresh run at N=20000:            " << fixed(m.againOverRun(), 2)
                  << " (target at most 0.3)\n";
        std::cout << "  peak memory / parse-alone peak at N=20000:   "
                  << fixed(m.peakOverParse(), 2) << " (target at most 2)\n";
    } else {
        std::cout << "  (the targets are stated for N=5000 and N=20000)\n";
    }
}

// Runs ostrel once on the inventory of N services and seed into a fresh directory and prints
// the digest of its output: the reference of the identity test, made again when the output is
// meant to change.
int printDigest(int services, std::uint64_t seed) {
    std::string pattern = (fs::temp_directory_path() / "ostrel-digest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        fail("cannot make a work directory");
    }
    const std::string in = pattern + "/in";
    const std::string out = pattern + "/out";
    fs::create_directory(in);
    fs::create_directory(out);
    SyntheticInventory(services, seed).write(in);
    ChildRun run = runChild(OSTREL_BINARY, ostrelArguments(in, out), pattern + "/stdout");
    const std::string digest = testsupport::OutputDigest::hex(
        testsupport::OutputDigest::ofRun(out, readWhole(pattern + "/stdout")));
    std::error_code ec;
    fs::remove_all(pattern, ec);
    if (!run.ok) {
        fail("ostrel failed");
    }
    std::cout << digest << "\n";
    return 0;
}

int usage() {
    std::cerr << "usage: ostrel_bench [--repeat R] [--seed S] [--dir DIR] [--keep] [N ...]\n"
                 "       ostrel_bench inventory N SEED DIR   (write an inventory)\n"
                 "       ostrel_bench digest N SEED          (digest of ostrel's output on it)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string mode = args.empty() ? "" : args[0];
    if (mode == "inventory" && args.size() == 4) {
        SyntheticInventory(std::stoi(args[1]), std::stoull(args[2])).write(args[3]);
        return 0;
    }
    if (mode == "digest" && args.size() == 3) {
        return printDigest(std::stoi(args[1]), std::stoull(args[2]));
    }
    if (mode == "stages" && args.size() == 4) {
        // As the program does: what a run leaves behind is left to the end of the process.
        LateRelease::leaveToProcessEnd();
        return runStages(args[1], args[2], args[3]);
    }
    if (mode == "parse" && args.size() == 3) {
        return runParse(args[1], args[2]);
    }
    if (mode == "floor" && args.size() == 6) {
        return runFloor(args[1], args[2], args[3], args[4], args[5]);
    }

    int repeat = 3;
    std::uint64_t seed = 1;
    std::string dir;
    bool keep = false;
    std::vector<int> sizes;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--repeat" && i + 1 < args.size()) {
            repeat = std::max(1, std::stoi(args[++i]));
        } else if (args[i] == "--seed" && i + 1 < args.size()) {
            seed = std::stoull(args[++i]);
        } else if (args[i] == "--dir" && i + 1 < args.size()) {
            dir = args[++i];
        } else if (args[i] == "--keep") {
            keep = true;
        } else if (!args[i].empty() && std::isdigit(static_cast<unsigned char>(args[i][0]))) {
            sizes.push_back(std::stoi(args[i]));
        } else {
            return usage();
        }
    }
    if (sizes.empty()) {
        sizes = {1000, 5000, 20000};
    }
    const std::string self = fs::canonical("/proc/self/exe").string();
    std::string root;
    if (dir.empty()) {
        std::string pattern = (fs::temp_directory_path() / "ostrel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            fail("cannot make a work directory");
        }
        root = pattern;
    } else {
        root = dir + "/ostrel-bench-" + std::to_string(getpid());
        fs::create_directories(root);
    }

    std::cout << "ostrel_bench: work directory " << root << ", seed " << seed << "\n";
    std::vector<SizeMeasurements> measured;
    for (int services : sizes) {
        measured.push_back(prepare(self, root, services, seed));
    }
    // The sizes take turns: repetition r of every size, then repetition r + 1, so that a drift
    // of the file system's speed meets every size alike.
    for (int r = 0; r < repeat; ++r) {
        std::cout << "repetition " << (r + 1) << " of " << repeat << ":";
        for (SizeMeasurements& m : measured) {
            std::cout << " N=" << m.services << std::flush;
            measureOnce(self, m, r);
        }
        std::cout << " done\n";
    }
    report(measured, repeat);
    // Only now, with every measurement taken, are the directories removed (creating files soon
    // after this is slower for a while).
    if (keep) {
        std::cout << "\nThe directories stay in " << root << "\n";
    } else {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    return 0;
}
