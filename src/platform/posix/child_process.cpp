#include "platform/posix/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

// A command's output beyond this is read and dropped, so a runaway program cannot fill memory;
// it holds what a page resolver says about a page with many formats.
constexpr size_t kMaxOutput = 16 << 20;

// Sound: the untranslated words of the C locale, but with UTF-8 characters: under plain C,
// GLib programs such as nmcli print every non-ASCII character of a name as "?".
std::vector<std::string> cLocaleEnvironment()
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("LC_ALL=", 0) != 0 && v.rfind("LANGUAGE=", 0) != 0)
            env.push_back(v);
    }
    env.emplace_back("LC_ALL=C.UTF-8");
    return env;
}

void readAvailable(int& fd, std::string& into)
{
    if (fd < 0)
        return;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (into.size() < kMaxOutput)
                into.append(buffer,
                    static_cast<size_t>(n) < kMaxOutput - into.size() ? static_cast<size_t>(n)
                                                                      : kMaxOutput - into.size());
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) {
            close(fd);
            fd = -1;
        }
        return;
    }
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& args, CommandResult& result)
{
    result = {};
    int outPipe[2];
    int errPipe[2];
    if (args.empty() || pipe2(outPipe, O_CLOEXEC) != 0)
        return nullptr;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> env = cLocaleEnvironment();
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(outPipe[1]);
    close(errPipe[1]);
    if (rc != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        result.err = std::strerror(rc);
        return nullptr;
    }
    fcntl(outPipe[0], F_SETFL, O_NONBLOCK);
    fcntl(errPipe[0], F_SETFL, O_NONBLOCK);
    std::unique_ptr<ChildProcess> child(new ChildProcess);
    child->m_pid = pid;
    child->m_out = outPipe[0];
    child->m_err = errPipe[0];
    child->m_result.started = true;
    return child;
}

ChildProcess::~ChildProcess()
{
    if (!m_ended && m_pid > 0) {
        // Only the job's own process group: it was started in a group of its own.
        kill(-m_pid, SIGKILL);
        while (waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) { }
    }
    for (int fd : { m_out, m_err }) {
        if (fd >= 0)
            close(fd);
    }
}

void ChildProcess::drain()
{
    readAvailable(m_out, m_result.out);
    readAvailable(m_err, m_result.err);
}

bool ChildProcess::poll()
{
    if (m_ended)
        return true;
    drain();
    int status = 0;
    const pid_t r = waitpid(m_pid, &status, WNOHANG);
    if (r == 0)
        return false;
    m_ended = true;
    // What the program wrote before it ended; a child it left behind may keep the pipes open,
    // so the job does not wait for their end.
    drain();
    if (r == m_pid && WIFEXITED(status))
        m_result.exitCode = WEXITSTATUS(status);
    else
        m_result.exitCode = -1;
    return true;
}

std::unique_ptr<RunningCommand> PosixCommands::start(
    const std::vector<std::string>& args, CommandResult& result)
{
    return ChildProcess::start(args, result);
}

bool onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = folders.find(':', start);
        const std::string folder
            = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        struct stat st { };
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

} // namespace platform
