// The baseline of the start-up benchmark: the smallest Qt widgets program that shows one
// window. It prints "shown" at its first paint, like the desktop program's start-up probe.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), Qt::white);
        if (m_shown)
            return;
        m_shown = true;
        std::printf("shown\n");
        std::fflush(stdout);
        if (qEnvironmentVariable("ZELVORA_STARTUP_PROBE") == QLatin1String("exit"))
            QCoreApplication::exit(0);
    }

private:
    bool m_shown = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.resize(960, 600);
    window.show();
    return QApplication::exec();
}
