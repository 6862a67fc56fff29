#include "platform/posix/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
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

// The full path of a program on PATH ("" when none is there).
std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "";
    size_t start = 0;
    while (path && start <= folders.size()) {
        const size_t end = folders.find(':', start);
        const std::string folder
            = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        struct stat st { };
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {};
}

// Starts program in a process group of its own with the pipes as its output; the pid, or
// minus the error that kept it from starting. Only system calls run between fork and exec.
pid_t spawn(const char* program, char* const argv[], char* const envp[], int out, int err)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return -errno;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        // Sound: the child ends with this program, also when this program is killed; a
        // download tool would otherwise go on writing into the user's folders.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int in = open("/dev/null", O_RDONLY);
        int failure = 0;
        if (getppid() != parent || in < 0 || dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0
            || dup2(err, STDERR_FILENO) < 0)
            failure = errno ? errno : ECHILD;
        if (failure == 0) {
            execve(program, argv, envp);
            failure = errno;
        }
        (void)!write(report[1], &failure, sizeof failure);
        _exit(127);
    }
    close(report[1]);
    if (pid < 0) {
        const int failure = errno;
        close(report[0]);
        return -failure;
    }
    setpgid(pid, pid);
    int failure = 0;
    ssize_t n = 0;
    while ((n = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) { }
    close(report[0]);
    if (n == static_cast<ssize_t>(sizeof failure)) {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
        return -failure;
    }
    return pid;
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& args, CommandResult& result)
{
    result = {};
    int outPipe[2];
    int errPipe[2];
    // Every way of not starting says why.
    if (args.empty()) {
        result.err = "no program given";
        return nullptr;
    }
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        result.err = std::strerror(errno);
        return nullptr;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        result.err = std::strerror(errno);
        close(outPipe[0]);
        close(outPipe[1]);
        return nullptr;
    }
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> env = cLocaleEnvironment();
    std::vector<char*> envp;
    envp.reserve(env.size() + 1);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string program = args[0].find('/') == std::string::npos ? findOnPath(args[0]) : args[0];
    const pid_t pid
        = program.empty() ? -1 : spawn(program.c_str(), argv.data(), envp.data(), outPipe[1], errPipe[1]);
    const int rc = program.empty() ? ENOENT : pid < 0 ? -pid : 0;
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
    return !findOnPath(program).empty();
}

} // namespace platform
