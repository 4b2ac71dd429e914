#pragma once

#include <iostream>
#include <sstream>
#include <string>

namespace testsupport {

// Redirects std::cout into a buffer for its lifetime, so that tests can check what code under
// test prints and keep the test log clean.
class CoutCapture {
public:
    CoutCapture() : saved(std::cout.rdbuf(buffer.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(saved); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;

    std::string text() const { return buffer.str(); }

private:
    std::ostringstream buffer;
    std::streambuf* saved;
};

}  // namespace testsupport
