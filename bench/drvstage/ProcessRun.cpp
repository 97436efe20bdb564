#include "ProcessRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace {

constexpr const char* kTimeProgram = "/usr/bin/time";

int SpawnAndWait(const std::vector<std::string>& argv, rusage& usage) {
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ProcessRun RunMeasured(const std::vector<std::string>& argv) {
    ProcessRun run;
    std::vector<std::string> command = argv;
    const std::string report =
        (std::filesystem::temp_directory_path() / ("kit-bench-peak-" + std::to_string(getpid()) + ".txt"))
            .string();
    run.peakIsExact = access(kTimeProgram, X_OK) == 0;
    if (run.peakIsExact)
        command.insert(command.begin(), {kTimeProgram, "-f", "%M", "-o", report});
    rusage usage{};
    auto start = std::chrono::steady_clock::now();
    run.status = SpawnAndWait(command, usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakResidentKiB = usage.ru_maxrss;
    if (run.peakIsExact) {
        std::ifstream in(report);
        in >> run.peakResidentKiB;
        std::filesystem::remove(report);
    }
    return run;
}
