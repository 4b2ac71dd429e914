#pragma once

#include <string>

// How a text reached its file.
enum class WriteOutcome {
    Written,     // the file now holds the text
    Unchanged,   // the file already held exactly the text and was left untouched
    OpenFailed,  // the temporary file could not be created (missing or unwritable directory)
    WriteFailed  // writing, flushing, closing or renaming failed; nothing was replaced
};

// True when path is a regular file holding exactly text. Only reads.
bool fileHolds(const std::string& path, const std::string& text);

// Replaces the file at path by text without ever exposing a partly written file: the text goes
// to a temporary file in the same directory, every write and the close are checked, and only
// then is it renamed over path. Where nothing is at path yet, the text goes to an unnamed file
// of the directory instead, which is linked under path once written (the file system permitting;
// otherwise through a temporary file as well). The new file gets the permissions a plain create
// would give (0666 less the umask). A file that already holds exactly the text is not touched,
// so its inode and modification time stay and a watcher sees no change.
WriteOutcome writeFileReplacing(const std::string& path, const std::string& text);

// As writeFileReplacing, for a file expected not to exist (its directory was empty when the run
// began): it is written as an unnamed file and linked under path without looking at path first,
// which saves a lookup per file. Should path be taken after all, the link fails and the file is
// compared and replaced as writeFileReplacing does; the outcome is the same either way.
WriteOutcome writeNewFile(const std::string& path, const std::string& text);

// True when dir is a directory that can be read and holds no entry.
bool directoryIsEmpty(const std::string& dir);

// Generator file output: logs "out file = " when verbose, writes the file through
// writeFileReplacing (writeNewFile when expectNew), logs the content when verbose and
// "save file " + path on success. On failure logs "could not open file: " + path (or
// "could not write file: " + path when the file was opened but could not be completed) and
// returns false.
bool saveGeneratedFile(const std::string& path, const std::string& text, bool verbose,
                       bool expectNew = false);

// What saveGeneratedFile logs for a save that came to outcome. Lets a caller that already knows
// a file holds its text log the save exactly as a save would.
bool logGeneratedFileSave(const std::string& path, const std::string& text, bool verbose,
                          WriteOutcome outcome);
