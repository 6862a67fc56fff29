#include "gui/media_engine_decoders.h"

#include <cstdlib>
#include <gst/gst.h>
#include <string>

namespace gui {

namespace {

// Runs for every element added to any bin of the process: GStreamer's decoding bins add their
// decoders while they look at a medium.
gboolean elementAdded(GSignalInvocationHint*, guint count, const GValue* values, gpointer)
{
    if (count < 2 || !G_VALUE_HOLDS_OBJECT(&values[1]))
        return TRUE;
    auto* element = static_cast<GObject*>(g_value_get_object(&values[1]));
    // The audio decoders' base class is registered with its first decoder.
    const GType audioDecoder = g_type_from_name("GstAudioDecoder");
    if (element && audioDecoder && G_TYPE_CHECK_INSTANCE_TYPE(element, audioDecoder)
        && g_object_class_find_property(G_OBJECT_GET_CLASS(element), "min-latency"))
        g_object_set(element, "min-latency", static_cast<gint64>(kDecodedBatchMs) * GST_MSECOND, nullptr);
    return TRUE; // stays for the next medium
}

} // namespace

void preferLeanDecoders()
{
    // Sound: GStreamer ranks its two MP3 decoders alike and takes the libav one by its name,
    // which loads libav with the dozens of libraries it links (speech synthesis, video
    // encoders): about 28 MiB more for a song. The mpg123 decoder is preferred for MP3; other
    // formats keep their decoders, and a rank the person set for it stays.
    constexpr const char* kVariable = "GST_PLUGIN_FEATURE_RANK";
    const char* set = std::getenv(kVariable);
    std::string ranks = set ? set : "";
    if (ranks.find("mpg123audiodec") != std::string::npos)
        return;
    ranks += ranks.empty() ? "mpg123audiodec:primary" : ",mpg123audiodec:primary";
    setenv(kVariable, ranks.c_str(), 1);
}

void batchDecodedSound()
{
    // Sound: a decoder hands on each frame it decodes (38 a second for MP3), and every frame
    // wakes the decoding thread, the output thread and the clock: for a song that costs more
    // than the decoding itself. In batches of 100 ms the threads wake ten times a second.
    static bool hooked = false;
    if (hooked || !gst_is_initialized())
        return;
    const guint added = g_signal_lookup("element-added", GST_TYPE_BIN);
    if (added == 0)
        return;
    g_signal_add_emission_hook(added, 0, elementAdded, nullptr, nullptr);
    hooked = true;
}

} // namespace gui
