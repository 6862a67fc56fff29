// What playing costs: the same generated 1280x720 25 fps video played for the same time on one
// virtual X display by the desktop program and by mpv (with its X11 output, and with its
// default video output), and a song against mpv without video. Prints CPU seconds, peak memory
// and the ratios. Needs Xvfb, ffmpeg and mpv. There is no sound device on Xvfb: mpv writes its
// sound nowhere (--ao=null), and the program finds none either.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

struct Cost {
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// User and system time of a process so far, in seconds.
double cpuSecondsOf(qint64 pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
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

double peakMiBOf(qint64 pid)
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
bool run(const QString& program, const QStringList& args, const QString& display, int seconds, bool waitShown,
    int settleMs, Cost& out)
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

bool make(const QStringList& ffmpegArgs)
{
    return QProcess::execute(QStringLiteral("ffmpeg"),
               QStringList { QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y") }
                   + ffmpegArgs)
        == 0;
}

void print(const char* name, const Cost& c)
{
    std::printf("  %-28s %6.2f CPU s  %7.1f MiB peak\n", name, c.cpuSeconds, c.peakMiB);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("video720.mp4"));
    const QString song = dir.filePath(QStringLiteral("song.mp3"));
    const QString length = QString::number(seconds + 20);
    if (!make({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc2=size=1280x720:rate=25"), QStringLiteral("-f"), QStringLiteral("lavfi"),
            QStringLiteral("-i"), QStringLiteral("sine=frequency=440"), QStringLiteral("-t"), length,
            QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
            QStringLiteral("veryfast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
            QStringLiteral("-c:a"), QStringLiteral("aac"), video })
        || !make({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440"), QStringLiteral("-t"), length, song })) {
        std::fprintf(stderr, "video_cost: ffmpeg could not make the media\n");
        return 1;
    }
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    if (!xvfb.waitForStarted(3000) || !xvfb.waitForReadyRead(10000)) {
        std::fprintf(stderr, "video_cost: Xvfb did not start\n");
        return 1;
    }
    const QString display = QStringLiteral(":") + QString::fromLatin1(xvfb.readLine().trimmed());

    // The desktop program plays the file it is given as soon as its windows are shown (its
    // start-up probe says when).
    auto zelvora = [&](const QString& file, Cost& out) {
        const QString profile = dir.filePath(QStringLiteral("profile-") + QFileInfo(file).baseName());
        qputenv("ZELVORA_STARTUP_PROBE", "stay");
        qputenv("ZELVORA_INSTANCE", QByteArray("zelvora-bench-") + QByteArray::number(getpid()));
        return run(QStringLiteral(ZELVORA_PROGRAM),
            { QStringLiteral("--profile"), profile, QStringLiteral("--config"),
                QStringLiteral(OFFLINE_CONFIG), file },
            display, seconds, true, 3000, out);
    };
    auto mpv = [&](QStringList args, const QString& file, Cost& out) {
        args << QStringLiteral("--really-quiet") << QStringLiteral("--loop=inf") << file;
        return run(QStringLiteral("mpv"), args, display, seconds, false, 1000, out);
    };
    Cost ours, x11, gpu, oursSong, mpvSong;
    const bool ok = zelvora(video, ours)
        && mpv({ QStringLiteral("--vo=x11"), QStringLiteral("--ao=null") }, video, x11)
        && mpv({ QStringLiteral("--ao=null") }, video, gpu) && zelvora(song, oursSong)
        && mpv({ QStringLiteral("--no-video"), QStringLiteral("--ao=null") }, song, mpvSong);
    xvfb.terminate();
    xvfb.waitForFinished();
    if (!ok) {
        std::fprintf(stderr, "video_cost: a player did not play (is mpv installed?)\n");
        return 1;
    }
    std::printf("1280x720 25 fps video for %d s on Xvfb\n", seconds);
    print("zelvora", ours);
    print("mpv --vo=x11 --ao=null", x11);
    print("mpv --ao=null (default vo)", gpu);
    std::printf("  ratio to mpv --vo=x11        %6.2f CPU  %6.2f memory  (goal: CPU <= 1.0, memory <= 1.3)\n",
        ours.cpuSeconds / x11.cpuSeconds, ours.peakMiB / x11.peakMiB);
    std::printf("  ratio to mpv default output  %6.2f CPU  %6.2f memory\n", ours.cpuSeconds / gpu.cpuSeconds,
        ours.peakMiB / gpu.peakMiB);
    std::printf("song (MP3) for %d s\n", seconds);
    print("zelvora", oursSong);
    print("mpv --no-video --ao=null", mpvSong);
    std::printf("  ratio to mpv --no-video      %6.2f CPU  %6.2f memory  (goal: CPU <= 1.0, memory <= 1.1)\n",
        oursSong.cpuSeconds / mpvSong.cpuSeconds, oursSong.peakMiB / mpvSong.peakMiB);
    return 0;
}
