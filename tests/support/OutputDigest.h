#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

// A 64-bit FNV-1a digest of one run's output: every regular file of the output directory in
// name order (its name, its size and its bytes), then the run's standard output with the output
// directory's path replaced by "{out}", so that runs into different directories compare equal.
// It stands in for megabytes of reference files: equal digests mean byte-identical output.
class OutputDigest {
public:
    static std::uint64_t ofRun(const std::string& outputDir, const std::string& standardOutput);
    // The digest as 16 lower-case hexadecimal digits.
    static std::string hex(std::uint64_t digest);

private:
    static void add(std::uint64_t& digest, const std::string& bytes);
};

}  // namespace testsupport
