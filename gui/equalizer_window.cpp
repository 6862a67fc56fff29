#include "gui/equalizer_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "gui/transport_bar.h"
#include "runtime/media_controls.h"

namespace gui {

const EqualizerPreset kEqualizerPresets[7] = {
    { "流行", { -1, 1, 3, 4, 3, 0, -1, -1, 0, 0 } },
    { "摇滚", { 5, 3, -2, -4, -1, 2, 5, 6, 6, 6 } },
    { "古典", { 0, 0, 0, 0, 0, 0, -4, -4, -4, -6 } },
    { "爵士", { 3, 2, 1, 2, -2, -2, 0, 1, 2, 3 } },
    { "人声", { -3, -2, -1, 1, 4, 4, 3, 1, 0, -2 } },
    { "低音增强", { 6, 5, 4, 2, 0, 0, 0, 0, 0, 0 } },
    { "关闭", {} },
};

namespace {

constexpr const char* kCustom = "自定义";

QString bandName(int hz)
{
    return hz >= 1000 ? QString::number(hz / 1000) + QStringLiteral("K") : QString::number(hz);
}

} // namespace

EqualizerWindow::EqualizerWindow(QWidget* parent, TransportBar& bar, const runtime::EqualizerGains& gains)
    : QDialog(parent)
    , m_bar(bar)
    , m_presets(new QComboBox(this))
{
    setObjectName(QStringLiteral("equalizer"));
    setWindowTitle(QStringLiteral("均衡器"));
    setAttribute(Qt::WA_DeleteOnClose);
    for (const EqualizerPreset& preset : kEqualizerPresets)
        m_presets->addItem(QString::fromUtf8(preset.name));
    connect(m_presets, &QComboBox::activated, this, [this](int index) { presets_Activated(index); });
    auto* grid = new QGridLayout();
    for (int i = 0; i < runtime::kEqualizerBands; ++i) {
        auto* slider = new QSlider(Qt::Vertical, this);
        slider->setRange(-runtime::kEqualizerMaxDb, runtime::kEqualizerMaxDb);
        slider->setMinimumHeight(140);
        slider->setToolTip(bandName(runtime::kEqualizerHz[i]) + QStringLiteral(" Hz"));
        connect(slider, &QSlider::valueChanged, this, [this] { band_ValueChanged(); });
        m_bands[static_cast<size_t>(i)] = slider;
        m_values[static_cast<size_t>(i)] = new QLabel(this);
        grid->addWidget(m_values[static_cast<size_t>(i)], 0, i, Qt::AlignHCenter);
        grid->addWidget(slider, 1, i, Qt::AlignHCenter);
        grid->addWidget(new QLabel(bandName(runtime::kEqualizerHz[i]), this), 2, i, Qt::AlignHCenter);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_presets);
    layout->addLayout(grid);
    showGains(gains);
}

runtime::EqualizerGains EqualizerWindow::gains() const
{
    runtime::EqualizerGains out {};
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = m_bands[i]->value();
    return out;
}

void EqualizerWindow::showGains(const runtime::EqualizerGains& gains)
{
    m_showing = true;
    for (size_t i = 0; i < gains.size(); ++i) {
        m_bands[i]->setValue(gains[i]);
        m_values[i]->setText(QString::number(gains[i]));
    }
    m_showing = false;
    int match = -1;
    for (int p = 0; p < static_cast<int>(std::size(kEqualizerPresets)); ++p) {
        if (kEqualizerPresets[p].gains == gains)
            match = p;
    }
    const int custom = m_presets->findText(QString::fromUtf8(kCustom));
    if (match < 0 && custom < 0)
        m_presets->addItem(QString::fromUtf8(kCustom));
    else if (match >= 0 && custom >= 0)
        m_presets->removeItem(custom);
    m_presets->setCurrentIndex(match >= 0 ? match : m_presets->findText(QString::fromUtf8(kCustom)));
}

void EqualizerWindow::presets_Activated(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kEqualizerPresets)))
        return;
    const runtime::EqualizerGains gains = kEqualizerPresets[index].gains;
    showGains(gains);
    m_bar.act([gains](runtime::MediaPlayer& c) { c.setEqualizer(gains); });
}

void EqualizerWindow::band_ValueChanged()
{
    if (m_showing)
        return;
    const runtime::EqualizerGains now = gains();
    showGains(now);
    m_bar.act([now](runtime::MediaPlayer& c) { c.setEqualizer(now); });
}

} // namespace gui
