// The gap between two songs: two wave files cut from one continuous tone (the cut inside a
// period, off any zero crossing) are opened with the desktop program as a playlist, so its
// player window plays them in list order as it plays any list, and the engine writes what it
// plays to a file (mpv's file output) instead of a sound device. Prints the frames missing or
// doubled where the second song starts, and the same for mpv playing the two files with its
// own gapless setting. Needs mpv; no display (Qt's offscreen platform).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <unistd.h>

#include "support/tone_join.h"

namespace {

using testing_support::kToneRate;

// Runs a player until the file it writes holds `bytes` or it ends (at most 30 s).
bool writeOut(const QString& program, const QStringList& args, const QProcessEnvironment& env,
    const QString& file, qint64 bytes)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (QFileInfo(file).size() < bytes && p.state() == QProcess::Running && timer.elapsed() < 30000)
        p.waitForFinished(50);
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
    return QFileInfo(file).size() >= bytes;
}

void print(const char* who, const std::vector<int16_t>& heard, const std::vector<int16_t>& whole, int cut)
{
    const testing_support::Join join = testing_support::measureJoin(heard, whole, cut);
    std::printf("  %-34s %5d missing %5d doubled   largest difference from the tone %d\n", who, join.missing,
        join.doubled, join.worst);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int cut = kToneRate + 123;
    const std::vector<int16_t> whole = testing_support::tone(0, cut + kToneRate, 0.3);
    const QString a = dir.filePath(QStringLiteral("前半.wav")), b = dir.filePath(QStringLiteral("后半.wav"));
    const QString list = dir.filePath(QStringLiteral("两首.m3u"));
    QFile m3u(list);
    if (!testing_support::writeWav(a.toStdString(), testing_support::tone(0, cut, 0.3))
        || !testing_support::writeWav(b.toStdString(), testing_support::tone(cut, kToneRate, 0.3))
        || !m3u.open(QIODevice::WriteOnly)
        || m3u.write((QStringLiteral("#EXTM3U\n") + a + '\n' + b + '\n').toUtf8()) < 0) {
        std::fprintf(stderr, "song_gap: the songs could not be written\n");
        return 1;
    }
    m3u.close();
    // The list plays on from its start after its end: the first pass is what is measured.
    const qint64 bytes = static_cast<qint64>(whole.size()) * 2 + kToneRate * 4;

    const QString ours = dir.filePath(QStringLiteral("zelvora.raw"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.insert(QStringLiteral("ZELVORA_SOUND_FILE"), ours);
    env.insert(
        QStringLiteral("ZELVORA_INSTANCE"), QStringLiteral("zelvora-gap-") + QString::number(getpid()));
    const bool oursPlayed = writeOut(QStringLiteral(ZELVORA_PROGRAM),
        { QStringLiteral("--profile"), dir.filePath(QStringLiteral("profile")), QStringLiteral("--config"),
            QStringLiteral(OFFLINE_CONFIG), list },
        env, ours, bytes);

    const QString theirs = dir.filePath(QStringLiteral("mpv.raw"));
    const bool mpvPlayed = writeOut(QStringLiteral("mpv"),
        { QStringLiteral("--no-config"), QStringLiteral("--no-video"), QStringLiteral("--gapless-audio=yes"),
            QStringLiteral("--ao=pcm"), QStringLiteral("--ao-pcm-file=") + theirs,
            QStringLiteral("--ao-pcm-waveheader=no"), QStringLiteral("--audio-format=s16"), a, b },
        QProcessEnvironment::systemEnvironment(), theirs, static_cast<qint64>(whole.size()) * 2);
    if (!oursPlayed) {
        std::fprintf(stderr, "song_gap: the program wrote no sound\n");
        return 1;
    }
    std::printf("two songs cut from one tone at frame %d (%d Hz, stereo), played one after the other\n", cut,
        kToneRate);
    print("zelvora (player window, mpv's pcm)", testing_support::readSamples(ours.toStdString()), whole, cut);
    if (mpvPlayed)
        print("mpv --gapless-audio=yes", testing_support::readSamples(theirs.toStdString()), whole, cut);
    std::printf("  goal: 0 missing, 0 doubled\n");
    return 0;
}
