// libFuzzer target: one generation run of ostrel over arbitrary input documents.
//
// Input layout: the first byte holds the run flags, the rest is split at NUL bytes into up to
// five parts:
//   flags    bit 0 "-verbose", bit 1 "-ignore_ports", bit 2 "-gw" given, bit 3 "-l" given
//   parts    services.json, nodes.json, routing.json, limits.json, gateway name
// Missing parts are empty documents (an empty gateway name is "gw1"). The documents are written
// to files in a scratch directory and the run goes through the driver exactly as from the
// command line: loading, schema selection, gateway filter, merge, validation and generation
// into an output directory inside the scratch directory.
//
// Besides crashes, sanitizer reports and leaks, the target stops (abort) when a run breaks one
// of the promises the program makes for every input:
//   - no exception leaves the run;
//   - a failed run wrote no file and logged at least one line; nothing is logged to std::cerr;
//   - nothing is written outside the output directory, and the directory holds only files that
//     the run reports as saved (no temporary files);
//   - every saved file has the statement-per-line shape of generated nginx text.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ArgumentMap.h"
#include "cli/RunDriver.h"
#include "support/ConfigStructure.h"

namespace {

std::vector<std::string> entriesOf(const std::string& dir) {
    std::vector<std::string> names;
    DIR* handle = opendir(dir.c_str());
    if (handle == nullptr) {
        return names;
    }
    while (dirent* entry = readdir(handle)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(handle);
    return names;
}

void removeEntries(const std::string& dir) {
    for (const std::string& name : entriesOf(dir)) {
        const std::string path = dir + "/" + name;
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            removeEntries(path);
            rmdir(path.c_str());
        } else {
            unlink(path.c_str());
        }
    }
}

void removeBase();

// A private directory that holds only the run directory, so that a file written next to the
// run directory is seen too.
const std::string& base() {
    // Never destroyed, so that the exit handler can still use it.
    static const std::string* const dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                              "/ostrel-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit(removeBase);
        return new std::string(pattern);
    }();
    return *dir;
}

const std::string& scratchDir() {
    static const std::string dir = [] {
        const std::string run = base() + "/run";
        mkdir(run.c_str(), 0755);
        return run;
    }();
    return dir;
}

void removeBase() {
    removeEntries(base());
    rmdir(base().c_str());
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

[[noreturn]] void fail(const std::string& what, const std::string& log) {
    std::fprintf(stderr, "fuzz_generate: %s\n--- log of the run ---\n%s\n", what.c_str(),
                 log.c_str());
    std::abort();
}

// Names of the files that the log reports as saved into dir: the lines that begin with the
// program's own "save file" text for a path in dir. Values echoed in messages can only add
// lines, never hide one, so only the direction written => reported is checked.
std::set<std::string> savedNames(const std::string& log, const std::string& dir) {
    const std::string marker = "ostrel v2.4.5 INFO: save file " + dir + "/";
    std::set<std::string> names;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, marker.size(), marker) == 0) {
            names.insert(line.substr(marker.size()));
        }
    }
    return names;
}

// Redirects std::cout and std::cerr into strings for the lifetime of the object.
class Capture {
public:
    Capture() : oldOut(std::cout.rdbuf(out.rdbuf())), oldErr(std::cerr.rdbuf(err.rdbuf())) {}
    ~Capture() {
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    std::string outText() const { return out.str(); }
    std::string errText() const { return err.str(); }

private:
    std::ostringstream out;
    std::ostringstream err;
    std::streambuf* oldOut;
    std::streambuf* oldErr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned flags = data[0];
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && parts.size() < 4) {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    parts.push_back(current);
    parts.resize(5);

    const std::string& scratch = scratchDir();
    removeEntries(scratch);
    const std::string out = scratch + "/out";
    mkdir(out.c_str(), 0755);
    const char* names[] = {"services.json", "nodes.json", "routing.json", "limits.json"};
    for (int i = 0; i < 4; ++i) {
        writeFile(scratch + "/" + names[i], parts[static_cast<std::size_t>(i)]);
    }

    ArgumentMap args;
    args["-s"] = scratch + "/services.json";
    args["-n"] = scratch + "/nodes.json";
    args["-r"] = scratch + "/routing.json";
    args["-o"] = out;
    if ((flags & 1u) != 0) {
        args["-verbose"] = true;
    }
    if ((flags & 2u) != 0) {
        args["-ignore_ports"] = true;
    }
    if ((flags & 4u) != 0) {
        args["-gw"] = parts[4].empty() ? std::string("gw1") : parts[4];
    }
    if ((flags & 8u) != 0) {
        args["-l"] = scratch + "/limits.json";
    }

    bool ok = false;
    std::string log;
    std::string errors;
    {
        Capture capture;
        try {
            ok = buildNginxConfFiles(args);
        } catch (...) {
            log = capture.outText();
            fail("an exception left the run", log);
        }
        log = capture.outText();
        errors = capture.errText();
    }
    if (!errors.empty()) {
        fail("the run wrote to std::cerr: " + errors, log);
    }
    if (log.empty()) {
        fail("the run logged nothing", log);
    }

    // The documents and the output directory, and nothing else, also one level up.
    if (entriesOf(scratch).size() != 5 || entriesOf(base()).size() != 1) {
        fail("a file was written outside the output directory", log);
    }
    const std::vector<std::string> written = entriesOf(out);
    if (!ok && !written.empty()) {
        fail("a failed run left files in the output directory", log);
    }
    const std::set<std::string> saved = savedNames(log, out);
    for (const std::string& name : written) {
        if (saved.count(name) == 0) {
            fail("the output directory holds a file the run did not save: " + name, log);
        }
    }
    for (const std::string& name : written) {
        const std::string problem = testsupport::configStructureProblem(readFile(out + "/" + name));
        if (!problem.empty()) {
            fail("generated file " + name + " breaks the statement shape: " + problem, log);
        }
    }
    return 0;
}
