#pragma once
// What the front-end benchmarks measure of a running program: its CPU time over a while and
// its peak memory, read from /proc, and the media they play, made with ffmpeg.
#include <QProcess>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace bench {

struct Cost {
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// User and system time of a process so far, in seconds.
inline double cpuSecondsOf(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::ostringstream whole;
    whole << stat.rdbuf();
    const std::string text = whole.str();
    // The fields after the command name (which may hold spaces) in parentheses.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::stod(field);
        if (i == 15) {
            stime = std::stod(field);
            break;
        }
    }
    return (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

inline double peakMiBOf(qint64 pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    }
    return -1;
}

// Runs a player until it says it is shown (when asked to), lets it settle for settleMs, then
// counts its CPU time over seconds.
inline bool run(const QString& program, const QStringList& args, const QString& display, int seconds,
    bool waitShown, int settleMs, Cost& out)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    if (!waitShown)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return false;
    bool shown = !waitShown;
    while (!shown && p.waitForReadyRead(30000)) {
        while (p.canReadLine())
            shown = shown || p.readLine().trimmed() == "shown";
    }
    if (!shown)
        return false;
    // Start-up is not playing: the time is counted once playback runs.
    QThread::msleep(static_cast<unsigned long>(settleMs));
    const double before = cpuSecondsOf(p.processId());
    QThread::sleep(static_cast<unsigned long>(seconds));
    out.cpuSeconds = cpuSecondsOf(p.processId()) - before;
    out.peakMiB = peakMiBOf(p.processId());
    const bool alive = p.state() == QProcess::Running;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    return alive;
}

inline bool make(const QStringList& ffmpegArgs)
{
    return QProcess::execute(QStringLiteral("ffmpeg"),
               QStringList { QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y") }
                   + ffmpegArgs)
        == 0;
}

inline void print(const char* name, const Cost& c)
{
    std::printf("  %-28s %6.2f CPU s  %7.1f MiB peak\n", name, c.cpuSeconds, c.peakMiB);
}

// Starts a virtual X display of 1280x1024; its name (":N"), or empty when it did not start.
inline QString startDisplay(QProcess& xvfb)
{
    xvfb.start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    if (!xvfb.waitForStarted(3000) || !xvfb.waitForReadyRead(10000))
        return {};
    return QStringLiteral(":") + QString::fromLatin1(xvfb.readLine().trimmed());
}

} // namespace bench
