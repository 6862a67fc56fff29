#include "gui/media_menu.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <cmath>

#include "gui/media_engine.h"
#include "gui/transport_bar.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// Speeds within this of each other are the same step.
constexpr double kSameRate = 0.001;

// "0.5×", "1.0×", "1.25×".
QString factorText(double rate)
{
    QString text = QString::number(rate, 'f', 2);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text + QStringLiteral("×");
}

} // namespace

double rateStep(double rate, int direction)
{
    if (direction > 0) {
        for (double step : kRateSteps) {
            if (step > rate + kSameRate)
                return step;
        }
    } else {
        for (auto it = std::rbegin(kRateSteps); it != std::rend(kRateSteps); ++it) {
            if (*it < rate - kSameRate)
                return *it;
        }
    }
    return rate;
}

QString rateText(double rate)
{
    return QStringLiteral("播放速度 ") + factorText(rate);
}

bool isSubtitleFile(const QString& path)
{
    static const QStringList kinds { QStringLiteral("srt"), QStringLiteral("ass"), QStringLiteral("ssa"),
        QStringLiteral("vtt"), QStringLiteral("sub") };
    return kinds.contains(QFileInfo(path).suffix().toLower());
}

namespace {

// The subtitle tracks to choose from (or none), and another file to load.
void addSubtitles(QMenu* menu, MpvMediaEngine& engine)
{
    QMenu* subtitles = menu->addMenu(QStringLiteral("字幕"));
    subtitles->setEnabled(engine.active());
    auto* tracks = new QActionGroup(subtitles);
    bool any = false;
    auto add = [&](const QString& name, int id, bool selected) {
        QAction* item = subtitles->addAction(name);
        item->setCheckable(true);
        item->setChecked(selected);
        tracks->addAction(item);
        QObject::connect(item, &QAction::triggered, menu, [&engine, id] { engine.chooseSubtitle(id); });
    };
    for (const SubtitleTrack& track : engine.subtitles()) {
        add(track.name, track.id, track.selected);
        any = any || track.selected;
    }
    add(QStringLiteral("无字幕"), 0, !any);
    subtitles->addSeparator();
    QObject::connect(
        subtitles->addAction(QStringLiteral("加载字幕文件...")), &QAction::triggered, menu, [&engine, menu] {
            const QString file
                = QFileDialog::getOpenFileName(menu->parentWidget(), QStringLiteral("加载字幕文件"),
                    QString(), QStringLiteral("字幕文件 (*.srt *.ass *.ssa *.vtt *.sub)"));
            if (!file.isEmpty())
                engine.loadSubtitle(file);
        });
}

} // namespace

QMenu* mediaMenu(QWidget* parent, runtime::MediaPlayer& player, TransportBar& bar, MpvMediaEngine* engine,
    const std::function<void()>& openEqualizer, const std::function<void()>& toggleDeskLyrics)
{
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QMenu* speed = menu->addMenu(QStringLiteral("播放速度"));
    auto* speeds = new QActionGroup(speed);
    for (double step : kRateSteps) {
        QAction* item = speed->addAction(factorText(step));
        item->setCheckable(true);
        item->setChecked(std::abs(player.rate() - step) < kSameRate);
        speeds->addAction(item);
        QObject::connect(
            item, &QAction::triggered, &bar, [&bar, step] { bar.act([step](auto& c) { c.setRate(step); }); });
    }
    if (engine)
        addSubtitles(menu, *engine);
    QObject::connect(menu->addAction(QStringLiteral("均衡器...")), &QAction::triggered, menu, openEqualizer);
    QObject::connect(
        menu->addAction(QStringLiteral("桌面歌词")), &QAction::triggered, menu, toggleDeskLyrics);
    // Songs made alike in loudness by their ReplayGain tags.
    QMenu* loudness = menu->addMenu(QStringLiteral("音量均衡"));
    auto* modes = new QActionGroup(loudness);
    const std::pair<const char*, runtime::ReplayGain> choices[] = { { "关闭", runtime::ReplayGain::Off },
        { "按曲目", runtime::ReplayGain::Track }, { "按专辑", runtime::ReplayGain::Album } };
    for (const auto& [name, mode] : choices) {
        QAction* item = loudness->addAction(QString::fromUtf8(name));
        item->setCheckable(true);
        item->setChecked(player.replayGain() == mode);
        modes->addAction(item);
        QObject::connect(item, &QAction::triggered, &bar,
            [&bar, m = mode] { bar.act([m](auto& c) { c.setReplayGain(m); }); });
    }
    return menu;
}

} // namespace gui
