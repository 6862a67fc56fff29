#pragma once
// The equalizer window: ten bands to move and the presets, applied to the player while it
// plays; the control keeps the gains (and the player window stores them in the profile).
#include <QDialog>
#include <array>

#include "runtime/engines.h"

class QComboBox;
class QLabel;
class QSlider;

namespace gui {

class TransportBar;

struct EqualizerPreset {
    const char* name;
    runtime::EqualizerGains gains;
};

// The presets in the order the list offers them; the last one, "关闭", is flat.
extern const EqualizerPreset kEqualizerPresets[7];

class EqualizerWindow : public QDialog {
public:
    // Shows the gains gains; every move goes through the bar to the control.
    EqualizerWindow(QWidget* parent, TransportBar& bar, const runtime::EqualizerGains& gains);

    [[nodiscard]] QComboBox* presets() const { return m_presets; }
    [[nodiscard]] QSlider* band(int i) const { return m_bands[static_cast<size_t>(i)]; }

private:
    void presets_Activated(int index);
    void band_ValueChanged();
    // Shows gains on the sliders and names the preset they match (or "自定义").
    void showGains(const runtime::EqualizerGains& gains);
    [[nodiscard]] runtime::EqualizerGains gains() const;

    TransportBar& m_bar;
    QComboBox* m_presets;
    std::array<QSlider*, runtime::kEqualizerBands> m_bands {};
    std::array<QLabel*, runtime::kEqualizerBands> m_values {};
    bool m_showing = false;
};

} // namespace gui
