/// @file sim_runner.h Runs the tavrek-sim program for a test and collects its output.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include <sys/wait.h>

struct SimRun {
    int Status = -1;  ///< exit status, -1 when it did not exit normally
    std::string Out;  ///< standard output (and standard error when asked for)
};

/// Runs tavrek-sim with the arguments (a shell command line fragment).
inline SimRun RunSim(const std::string& args, bool withStderr = false)
{
    const std::string command = std::string(TAVREK_SIM_PATH) + " " + args + (withStderr ? " 2>&1" : " 2>/dev/null");
    SimRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
