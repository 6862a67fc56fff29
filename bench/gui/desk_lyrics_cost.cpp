// What the desktop lyrics bar costs: the desktop program plays the same song with the same
// lyrics (a line every two seconds, a word time every 0.4 s, so the bar fills all the time)
// for the same time on one virtual X display, once with the bar shown and once without it,
// and once with it locked (it then watches the pointer), twice over in turn. Prints CPU seconds
// of each run and the bar's extra share of one core.
// Needs Xvfb and ffmpeg.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "process_cost.h"

namespace {

// LRC of a song of length seconds: a line every 2 s of five words 0.4 s apart.
QByteArray lyricsFor(int seconds)
{
    QByteArray out;
    const auto stamp = [](int ms) {
        return QString::asprintf("%02d:%02d.%02d", ms / 60000, ms / 1000 % 60, ms % 1000 / 10).toLatin1();
    };
    for (int line = 0; line * 2000 < seconds * 1000; ++line) {
        out += "[" + stamp(line * 2000) + "]";
        for (int word = 0; word < 5; ++word)
            out += "<" + stamp(line * 2000 + word * 400) + ">" + QByteArray("桌面歌词第")
                + QByteArray::number(word);
        out += "\r\n";
    }
    return out;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Start-up is not playing: the bar's first drawing (its fonts, the first lines) is done by then.
constexpr int kSettleMs = 6000;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const QString song = dir.filePath(QStringLiteral("晴天.mp3"));
    const QString length = QString::number(seconds + 20);
    if (!bench::make({ QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440"), QStringLiteral("-t"), length, song })
        || !write(dir.filePath(QStringLiteral("晴天.lrc")), lyricsFor(seconds + 20))) {
        std::fprintf(stderr, "desk_lyrics_cost: the song could not be made\n");
        return 1;
    }
    QProcess xvfb;
    const QString display = bench::startDisplay(xvfb);
    if (display.isEmpty()) {
        std::fprintf(stderr, "desk_lyrics_cost: Xvfb did not start\n");
        return 1;
    }
    // A fresh profile each run; the bar is shown at start when its kept settings say so.
    int runs = 0;
    auto zelvora = [&](const QByteArray& barSettings, bench::Cost& out) {
        const QString profile = dir.filePath(QStringLiteral("profile-%1").arg(++runs));
        if (!barSettings.isEmpty()
            && !write(profile + QStringLiteral("/my documents/zelv/desklyrics.ini"), barSettings))
            return false;
        qputenv("ZELVORA_STARTUP_PROBE", "stay");
        qputenv("ZELVORA_INSTANCE", QByteArray("zelvora-bench-") + QByteArray::number(getpid()));
        return bench::run(QStringLiteral(ZELVORA_PROGRAM),
            { QStringLiteral("--profile"), profile, QStringLiteral("--config"),
                QStringLiteral(OFFLINE_CONFIG), song },
            display, seconds, true, kSettleMs, out);
    };
    bench::Cost without[2], with[2], locked[2];
    bool ok = true;
    for (int round = 0; round < 2 && ok; ++round)
        ok = zelvora({}, without[round]) && zelvora("shown=1\r\n", with[round])
            && zelvora("shown=1\r\nlocked=1\r\n", locked[round]);
    xvfb.terminate();
    xvfb.waitForFinished();
    if (!ok) {
        std::fprintf(stderr, "desk_lyrics_cost: the program did not play\n");
        return 1;
    }
    std::printf("song with word-timed lyrics for %d s on Xvfb, twice each\n", seconds);
    double plain = 0, barred = 0, lockedBar = 0;
    for (int round = 0; round < 2; ++round) {
        bench::print("zelvora", without[round]);
        bench::print("zelvora + desktop lyrics", with[round]);
        bench::print("zelvora + locked lyrics", locked[round]);
        plain += without[round].cpuSeconds;
        barred += with[round].cpuSeconds;
        lockedBar += locked[round].cpuSeconds;
    }
    std::printf("  desktop lyrics' extra CPU      %6.2f %% of one core  (goal: < 2 %%; without it %.2f %%)\n",
        (barred - plain) / (2.0 * seconds) * 100, plain / (2.0 * seconds) * 100);
    std::printf("  locked desktop lyrics' extra   %6.2f %% of one core  (goal: < 2 %%)\n",
        (lockedBar - plain) / (2.0 * seconds) * 100);
    return 0;
}
