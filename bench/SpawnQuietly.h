#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace spawning {

// Starts the command, found on the PATH, with the actions given; -1 when it cannot be started.
inline pid_t spawnWith(const std::vector<std::string> &command, posix_spawn_file_actions_t &actions)
{
    std::vector<char *> argv;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace spawning

// Starts a command as a user would, found on the PATH, its output thrown away; -1 when it
// cannot be started.
inline pid_t spawnQuietly(const std::vector<std::string> &command)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    return spawning::spawnWith(command, actions);
}

// The same with its standard output on a pipe, as a reader of its report sees it: `output`
// gets the pipe's end to read from.
inline pid_t spawnIntoPipe(const std::vector<std::string> &command, int &output)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const pid_t pid = spawning::spawnWith(command, actions);
    close(ends[1]);
    if (pid < 0)
        close(ends[0]);
    else
        output = ends[0];
    return pid;
}
