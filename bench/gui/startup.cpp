// Start-up of the desktop program: time from process start to the hub shown with its child,
// and resident memory then, measured side by side with a minimal Qt program in the same run
// (both offscreen). Prints medians and the ratios.
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

// Starts a program, waits for its "shown" line, lets it settle, reads its memory, stops it.
bool measure(const QString& program, const QStringList& args, Sample& out)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir profile;
    const QStringList programArgs = { QStringLiteral("--profile"), profile.path() };
    std::vector<double> programMs, minimalMs, programKiB, minimalKiB;
    // Alternating runs share whatever the machine is doing at the time.
    for (int i = 0; i < runs; ++i) {
        Sample a, b;
        if (!measure(QStringLiteral(ZELVORA_PROGRAM), programArgs, a)
            || !measure(QStringLiteral(MINIMAL_PROGRAM), {}, b)) {
            std::fprintf(stderr, "startup: a program did not show its window\n");
            return 1;
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
    std::printf("start-up to hub shown with its child (median of %d, offscreen)\n", runs - 1);
    std::printf("  zelvora          %7.1f ms   %6.1f MiB resident\n", pm, pk);
    std::printf("  minimal Qt       %7.1f ms   %6.1f MiB resident\n", mm, mk);
    std::printf("  ratio            %7.2f      (goal <= 7; program goal <= 100 ms, <= 60 MiB)\n", pm / mm);
    return 0;
}
