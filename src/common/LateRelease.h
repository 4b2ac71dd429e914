#pragma once

#include <memory>

// Frees large objects at once, or leaves them to the end of the process once the program has
// asked for that. The program asks for it: its run ends right after the generator, freeing a
// document of tens of thousands of services node by node costs as much as a good part of
// building it, and the operating system takes a process's memory back at once. Everything
// else (the tests) keeps the default and frees at once.
class LateRelease {
public:
    // From now on, released objects are kept until the process ends.
    static void leaveToProcessEnd();
    // Frees object now (drops this reference to it), or keeps it until the process ends.
    static void release(std::shared_ptr<void> object);
};
