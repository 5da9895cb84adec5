#pragma once

// korvel-collect beside the test binary, with stdout and stderr in files of a test's folder.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildEnvironment.h"

namespace korvel::test {

struct Finished {
    int status = -1;
    std::string output;
    std::string errors;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Started in a UTF-8 locale, without any KORVEL_* variable but those in `environment`; -1 when it
// could not be started.
inline pid_t StartCollect(const std::string& folder, std::vector<std::string> args,
                          std::vector<std::string> environment = {})
{
    const std::string program =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "korvel-collect";
    args.insert(args.begin(), program);
    std::vector<char*> argv = EnvironmentPointers(args);
    std::vector<std::string> env = ChildEnvironment(std::move(environment));
    std::vector<char*> envp = EnvironmentPointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (folder + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (folder + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for a program StartCollect started; status -1 unless it exited by itself.
inline Finished WaitCollect(const std::string& folder, pid_t pid)
{
    Finished finished;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        finished.status = WEXITSTATUS(status);
    finished.output = ReadAll(folder + "/out");
    finished.errors = ReadAll(folder + "/err");
    return finished;
}

inline Finished RunCollect(const std::string& folder, std::vector<std::string> args,
                           std::vector<std::string> environment = {})
{
    return WaitCollect(folder, StartCollect(folder, std::move(args), std::move(environment)));
}

}  // namespace korvel::test
