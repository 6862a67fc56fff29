// What playing costs: the same generated 1280x720 25 fps video played for the same time on one
// virtual X display by the desktop program and by mpv (with its X11 output, and with its
// default video output), and a song against mpv without video and against the smallest Qt
// program that plays it through libmpv in a window. Prints CPU seconds, peak memory
// and the ratios. Needs Xvfb, ffmpeg and mpv. There is no sound device on Xvfb: mpv writes its
// sound nowhere (--ao=null), and the program finds none either.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "process_cost.h"

using bench::Cost;
using bench::make;
using bench::print;
using bench::run;

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
    const QString display = bench::startDisplay(xvfb);
    if (display.isEmpty()) {
        std::fprintf(stderr, "video_cost: Xvfb did not start\n");
        return 1;
    }

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
    Cost ours, x11, gpu, oursSong, mpvSong, minimalSong;
    const bool ok = zelvora(video, ours)
        && mpv({ QStringLiteral("--vo=x11"), QStringLiteral("--ao=null") }, video, x11)
        && mpv({ QStringLiteral("--ao=null") }, video, gpu) && zelvora(song, oursSong)
        && mpv({ QStringLiteral("--no-video"), QStringLiteral("--ao=null") }, song, mpvSong)
        && run(QStringLiteral(MINIMAL_SONG_PLAYER), { song }, display, seconds, true, 1000, minimalSong);
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
    print("minimal Qt window + libmpv", minimalSong);
    std::printf("  ratio to mpv --no-video      %6.2f CPU  %6.2f memory  (goal: CPU <= 1.0, memory <= 1.1)\n",
        oursSong.cpuSeconds / mpvSong.cpuSeconds, oursSong.peakMiB / mpvSong.peakMiB);
    // What any windowed Qt player pays beside mpv (Qt's libraries, a Chinese font, a window's
    // buffer), and what this program pays beyond that.
    std::printf("  minimal Qt player to mpv     %6.2f CPU  %6.2f memory\n",
        minimalSong.cpuSeconds / mpvSong.cpuSeconds, minimalSong.peakMiB / mpvSong.peakMiB);
    std::printf("  ratio to minimal Qt player   %6.2f CPU  %6.2f memory\n",
        oursSong.cpuSeconds / minimalSong.cpuSeconds, oursSong.peakMiB / minimalSong.peakMiB);
    return 0;
}
