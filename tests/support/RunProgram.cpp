#include "support/RunProgram.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WindowsBinDir() {
    return EnvironmentText("KIT_E2E_WINDOWS_BIN_DIR");
}

std::string WineCommand() {
    std::string command = EnvironmentText("KIT_E2E_WINE");
    return command.empty() ? "wine" : command;
}

// A Windows program's text-mode streams end lines with "\r\n".
std::string WithUnixLineEnds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            result += text[i];
    }
    return result;
}

} // namespace

bool TestingWindowsBuild() {
    return !WindowsBinDir().empty();
}

std::string BuiltProgram(const std::string& name) {
    if (TestingWindowsBuild())
        return WindowsBinDir() + "/" + name + ".exe";
    return std::string(KIT_BIN_DIR) + "/" + name;
}

char ProgramSeparator() {
    return TestingWindowsBuild() ? '\\' : '/';
}

std::string ProgramPath(const std::string& hostPath) {
    if (!TestingWindowsBuild())
        return hostPath;
    std::string path = hostPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    // Wine maps the root of this machine to drive Z:.
    if (!path.empty() && path[0] == '\\')
        path = "Z:" + path;
    return path;
}

std::string ReadProgramText(const std::string& path) {
    std::string text = ReadWholeFile(path);
    return TestingWindowsBuild() ? WithUnixLineEnds(text) : text;
}

namespace {

void CloseIfOpen(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Pumps input into the child and both outputs out of it until all three pipes are done.
void Exchange(int inFd, int outFd, int errFd, const std::string& input, ProgramResult& result) {
    size_t written = 0;
    if (input.empty())
        CloseIfOpen(inFd);
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR)
            break;
        char buffer[65536];
        int* readFds[2] = {&outFd, &errFd};
        std::string* sinks[2] = {&result.out, &result.err};
        for (int i = 0; i < 2; ++i) {
            if (*readFds[i] >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                ssize_t n = read(*readFds[i], buffer, sizeof buffer);
                if (n > 0)
                    sinks[i]->append(buffer, static_cast<size_t>(n));
                else
                    CloseIfOpen(*readFds[i]);
            }
        }
        if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t n = write(inFd, input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<size_t>(n);
            if (n <= 0 || written == input.size())
                CloseIfOpen(inFd);
        }
    }
    CloseIfOpen(inFd);
}

// The test's own environment; Wine's diagnostics stay off unless the caller asked for them.
std::vector<char*> ChildEnvironment() {
    static std::string quietWine = "WINEDEBUG=-all";
    std::vector<char*> environment;
    for (char** entry = environ; *entry; ++entry)
        environment.push_back(*entry);
    if (TestingWindowsBuild() && !std::getenv("WINEDEBUG"))
        environment.push_back(quietWine.data());
    environment.push_back(nullptr);
    return environment;
}

// Runs command (the program and its arguments) in workingDirectory.
ProgramResult RunCommand(const std::vector<std::string>& command, const std::string& workingDirectory,
                         const std::string& input) {
    ProgramResult result;
    // A child that ends before reading its input must not kill the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    int inPipe[2], outPipe[2], errPipe[2];
    if (pipe(inPipe) != 0 || pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return result;
    for (int fd : {inPipe[1], outPipe[0], errPipe[0]})
        fcntl(fd, F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    // posix_spawn has no portable working-directory action here; a shell changes into it (and finds the
    // runner on the search path).
    std::vector<std::string> argvText = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"",
                                         workingDirectory.empty() ? "." : workingDirectory};
    argvText.insert(argvText.end(), command.begin(), command.end());
    std::vector<char*> argv;
    for (auto& a : argvText)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<char*> environment = ChildEnvironment();
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        close(inPipe[1]);
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    Exchange(inPipe[1], outPipe[0], errPipe[0], input, result);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (TestingWindowsBuild()) {
        result.out = WithUnixLineEnds(result.out);
        result.err = WithUnixLineEnds(result.err);
    }
    return result;
}

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory, const std::string& input) {
    if (access(program.c_str(), F_OK) != 0)
        return {};
    std::vector<std::string> command = {program};
    if (TestingWindowsBuild())
        command.insert(command.begin(), WineCommand());
    command.insert(command.end(), args.begin(), args.end());
    return RunCommand(command, workingDirectory, input);
}

ProgramResult RunBatchFile(const std::string& hostPath, const std::string& workingDirectory) {
    if (!TestingWindowsBuild() || access(hostPath.c_str(), F_OK) != 0)
        return {};
    return RunCommand({WineCommand(), "cmd", "/c", ProgramPath(hostPath)}, workingDirectory, "");
}
