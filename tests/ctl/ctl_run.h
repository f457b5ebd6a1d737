#pragma once

#include <string>
#include <vector>

namespace tavrix::testing {

// What a finished tavrix-ctl left.
struct CtlRun {
    int exitCode = -1; // -1 when it did not end normally
    std::string out;
    std::string err;
};

// Runs the built tavrix-ctl (or another program: path) with the arguments in this process's
// environment, and waits for it to end.
CtlRun RunProgram(const std::string& path, const std::vector<std::string>& arguments);

// Starts a program in the background, its output discarded; its process id, or -1.
int StartProgram(const std::string& path, const std::vector<std::string>& arguments);
// Ends a program StartProgram started and waits for it.
void StopProgram(int pid);

} // namespace tavrix::testing
