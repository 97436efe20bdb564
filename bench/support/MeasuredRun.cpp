#include "MeasuredRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
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
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(const timeval& time) {
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

} // namespace

MeasuredRun RunMeasured(const std::vector<std::string>& argv) {
    MeasuredRun run;
    std::vector<std::string> command = argv;
    const std::string report =
        (std::filesystem::temp_directory_path() / ("kit-bench-peak-" + std::to_string(getpid()) + ".txt"))
            .string();
    command.insert(command.begin(), {kTimeProgram, "-q", "-f", "%M", "-o", report});
    rusage usage{};
    const auto start = std::chrono::steady_clock::now();
    run.status = SpawnAndWait(command, usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    std::ifstream(report) >> run.peakKiB;
    std::remove(report.c_str());
    return run;
}
