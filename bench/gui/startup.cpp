// Start-up of the desktop program: time from process start to the hub shown with its child,
// and resident memory then, measured side by side with a minimal Qt program in the same run,
// offscreen and on a virtual X display (Xvfb, when installed). Prints medians and the ratios.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Sample {
    double ms = 0;
    long rssKiB = 0;
};

// The resident set of a running process, from the kernel's status file.
long residentKiB(qint64 pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// Where the programs show their windows: Qt's offscreen platform, or an X display.
struct Display {
    const char* name;
    QString x; // ":N", empty for offscreen
};

// Starts a program, waits for its "shown" line, lets it settle, reads its memory, stops it.
bool measure(const QString& program, const QStringList& args, const Display& display, Sample& out)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display.x.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("DISPLAY"), display.x);
    }
    env.insert(QStringLiteral("ZELVORA_STARTUP_PROBE"), QStringLiteral("stay"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    bool shown = false;
    while (!shown && p.waitForReadyRead(10000)) {
        while (p.canReadLine())
            shown = shown || p.readLine().trimmed() == "shown";
    }
    out.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (shown) {
        // What start-up leaves behind once the first timers have run.
        QThread::msleep(300);
        out.rssKiB = residentKiB(p.processId());
    }
    p.kill();
    p.waitForFinished();
    return shown;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A virtual X display of its own (Xvfb picks a free number), or nothing when Xvfb is missing.
bool startXvfb(QProcess& server, QString& display)
{
    server.start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    if (!server.waitForStarted(3000) || !server.waitForReadyRead(10000))
        return false;
    display = QStringLiteral(":") + QString::fromLatin1(server.readLine().trimmed());
    return display.size() > 1;
}

// Runs both programs in turn on one display and prints the medians and ratios.
bool compare(const Display& display, int runs, const QStringList& programArgs)
{
    std::vector<double> programMs, minimalMs, programKiB, minimalKiB;
    // Alternating runs share whatever the machine is doing at the time.
    for (int i = 0; i < runs; ++i) {
        Sample a, b;
        if (!measure(QStringLiteral(ZELVORA_PROGRAM), programArgs, display, a)
            || !measure(QStringLiteral(MINIMAL_PROGRAM), {}, display, b)) {
            std::fprintf(stderr, "startup: a program did not show its window (%s)\n", display.name);
            return false;
        }
        if (i == 0)
            continue; // the first run warms the disk cache and the font cache
        programMs.push_back(a.ms);
        minimalMs.push_back(b.ms);
        programKiB.push_back(static_cast<double>(a.rssKiB));
        minimalKiB.push_back(static_cast<double>(b.rssKiB));
    }
    const double pm = median(programMs), mm = median(minimalMs);
    const double pk = median(programKiB) / 1024, mk = median(minimalKiB) / 1024;
    std::printf("start-up to hub shown with its child (median of %d, %s)\n", runs - 1, display.name);
    std::printf("  zelvora          %7.1f ms   %6.1f MiB resident\n", pm, pk);
    std::printf("  minimal Qt       %7.1f ms   %6.1f MiB resident\n", mm, mk);
    std::printf("  ratio            %7.2f      %6.2f   (goal: time <= 7, memory <= 2.5)\n", pm / mm, pk / mk);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 15;
    QTemporaryDir profile;
    const QStringList programArgs = { QStringLiteral("--profile"), profile.path() };
    if (!compare({ "offscreen", {} }, runs, programArgs))
        return 1;
    QProcess xvfb;
    QString x;
    if (!startXvfb(xvfb, x)) {
        std::printf("no Xvfb: the X display figures are left out\n");
        return 0;
    }
    const bool ok = compare({ "Xvfb", x }, runs, programArgs);
    xvfb.terminate();
    xvfb.waitForFinished();
    return ok ? 0 : 1;
}
