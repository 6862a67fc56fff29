#include "platform/posix/posix_services.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace platform {

namespace {

// Starts a program in its own session and gives its process id.
Status spawnChild(const std::vector<std::string>& args, const std::string& folder, pid_t& pid)
{
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0)
        return Status::failure(std::string("cannot start ") + args[0] + ": " + std::strerror(rc));
    return Status::success();
}

// Programs started here run on their own; a waiting thread reaps each one the moment it ends,
// so no finished child lingers as a zombie.
Status spawnDetached(const std::vector<std::string>& args, const std::string& folder)
{
    pid_t pid = 0;
    Status started = spawnChild(args, folder, pid);
    if (!started)
        return started;
    std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    }).detach();
    return Status::success();
}

// Runs a short helper to its end (at most `limit`) and tells whether it succeeded; one that
// overruns is killed. Either way it is reaped.
Status runToEnd(const std::vector<std::string>& args, std::chrono::milliseconds limit)
{
    pid_t pid = 0;
    Status started = spawnChild(args, {}, pid);
    if (!started)
        return started;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return Status::failure(args[0] + " was lost");
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
            return Status::failure(args[0] + " did not answer");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return Status::success();
    return Status::failure(args[0] + " failed");
}

// Splits an argument text at blanks, honouring double quotes.
std::vector<std::string> splitArguments(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false;
    bool any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any || !cur.empty())
                out.push_back(cur);
            cur.clear();
            any = false;
        } else {
            cur += c;
        }
    }
    if (any || !cur.empty())
        out.push_back(cur);
    return out;
}

} // namespace

Status PosixShell::open(const std::string& address, const std::string& workingFolder)
{
    if (address.empty())
        return Status::failure("nothing to open");
    return spawnDetached({ "xdg-open", address }, workingFolder);
}

Status PosixShell::start(const std::string& program, const std::string& arguments, int)
{
    std::vector<std::string> args { program };
    for (auto& a : splitArguments(arguments))
        args.push_back(a);
    return spawnDetached(args, fs::path(program).parent_path().string());
}

Status PosixShell::reveal(const std::string& path)
{
    // Only a local file has a folder to show; anything else would reach a scheme handler.
    if (path.empty() || path.front() != '/')
        return Status::failure("not a local file: " + path);
    // The file manager's show-item call answers only where a session bus and a file manager
    // serve it; without an answer the file's folder is opened instead.
    const std::string uri = "file://" + path;
    Status shown = runToEnd({ "dbus-send", "--session", "--print-reply", "--reply-timeout=2000",
                                "--dest=org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                "org.freedesktop.FileManager1.ShowItems", "array:string:" + uri, "string:" },
        std::chrono::milliseconds(3000));
    if (shown)
        return shown;
    return open(fs::path(path).parent_path().string());
}

std::vector<ProcessInfo> PosixProcesses::list() const
{
    std::vector<ProcessInfo> out;
    DIR* d = opendir("/proc");
    if (!d)
        return out;
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream comm("/proc/" + name + "/comm");
        std::string image;
        if (std::getline(comm, image))
            out.push_back({ std::stoi(name), image });
    }
    closedir(d);
    return out;
}

std::vector<Volume> PosixDrives::volumes() const
{
    std::vector<Volume> out;
    std::ifstream mounts("/proc/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        fields >> device >> mountPoint >> type;
        if (device.rfind("/dev/", 0) != 0)
            continue;
        // Mount points escape blanks as \040.
        std::string decoded;
        for (size_t i = 0; i < mountPoint.size(); ++i) {
            if (mountPoint[i] == '\\' && i + 3 < mountPoint.size()) {
                decoded += static_cast<char>(std::stoi(mountPoint.substr(i + 1, 3), nullptr, 8));
                i += 3;
            } else {
                decoded += mountPoint[i];
            }
        }
        Volume v;
        v.root = decoded;
        std::string dev = fs::path(device).filename().string();
        // Partitions (sdb1) carry the removable flag on their disk (sdb).
        std::string disk = dev;
        while (!disk.empty() && std::isdigit(static_cast<unsigned char>(disk.back())))
            disk.pop_back();
        std::ifstream removable("/sys/block/" + disk + "/removable");
        int flag = 0;
        removable >> flag;
        if (type == "iso9660" || type == "udf")
            v.type = DriveCdRom;
        else
            v.type = flag ? DriveRemovable : DriveFixed;
        struct statvfs st { };
        if (statvfs(decoded.c_str(), &st) == 0) {
            v.freeBytes = static_cast<unsigned long long>(st.f_bavail) * st.f_frsize;
            v.totalBytes = static_cast<unsigned long long>(st.f_blocks) * st.f_frsize;
        }
        out.push_back(v);
    }
    return out;
}

} // namespace platform
