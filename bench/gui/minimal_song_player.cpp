// The baseline of what a song costs in a window: the smallest Qt widgets program that plays a
// file through libmpv (no video, no sound device: mpv's null output) and shows its name in a
// Chinese line, so the same kind of font is loaded. It prints "shown" at its first paint.
#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <mpv/client.h>

namespace {

class Window : public QWidget {
public:
    explicit Window(QString line)
        : m_line(std::move(line))
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, m_line);
        if (m_shown)
            return;
        m_shown = true;
        std::printf("shown\n");
        std::fflush(stdout);
    }

private:
    QString m_line;
    bool m_shown = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return 1;
    const char* const options[][2] = { { "vid", "no" }, { "ao", "null" }, { "config", "no" },
        { "terminal", "no" }, { "loop-file", "inf" } };
    for (const auto& option : options)
        mpv_set_option_string(mpv, option[0], option[1]);
    if (mpv_initialize(mpv) < 0)
        return 1;
    // Events are drained on the interface thread, as a real player does.
    mpv_set_wakeup_callback(
        mpv,
        [](void* context) {
            auto* handle = static_cast<mpv_handle*>(context);
            QMetaObject::invokeMethod(
                qApp,
                [handle] {
                    while (mpv_wait_event(handle, 0)->event_id != MPV_EVENT_NONE) { }
                },
                Qt::QueuedConnection);
        },
        mpv);
    const char* load[] = { "loadfile", argv[1], nullptr };
    mpv_command_async(mpv, 0, load);
    Window window(
        QStringLiteral("正在播放：") + QFileInfo(QString::fromLocal8Bit(argv[1])).completeBaseName());
    window.resize(960, 600);
    window.show();
    const int code = QApplication::exec();
    mpv_set_wakeup_callback(mpv, nullptr, nullptr);
    mpv_terminate_destroy(mpv);
    return code;
}
