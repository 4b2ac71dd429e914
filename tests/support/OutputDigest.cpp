#include "support/OutputDigest.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace testsupport {

std::uint64_t OutputDigest::ofRun(const std::string& outputDir, const std::string& standardOutput) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(outputDir)) {
        if (entry.is_regular_file()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());

    std::uint64_t digest = 0xcbf29ce484222325ULL;
    for (const auto& name : names) {
        std::ifstream in(outputDir + "/" + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        add(digest, name);
        add(digest, std::to_string(bytes.size()));
        add(digest, bytes);
    }
    std::string shown;
    for (std::size_t at = 0;;) {
        const std::size_t found = standardOutput.find(outputDir, at);
        if (found == std::string::npos || outputDir.empty()) {
            shown.append(standardOutput, at, std::string::npos);
            break;
        }
        shown.append(standardOutput, at, found - at);
        shown += "{out}";
        at = found + outputDir.size();
    }
    add(digest, shown);
    return digest;
}

std::string OutputDigest::hex(std::uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

void OutputDigest::add(std::uint64_t& digest, const std::string& bytes) {
    for (unsigned char c : bytes) {
        digest ^= c;
        digest *= 0x100000001b3ULL;
    }
    // A separator, so that moving bytes from one part to the next changes the digest.
    digest ^= 0xff;
    digest *= 0x100000001b3ULL;
}

}  // namespace testsupport
