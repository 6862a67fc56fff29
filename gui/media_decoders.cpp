#include "gui/media_decoders.h"

#include <mpv/client.h>

namespace gui {

namespace {

// FFmpeg's codec names of the decoders libmpv has, or nothing when it cannot be asked.
std::vector<std::string> codecNames()
{
    std::vector<std::string> names;
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return names;
    for (const char* option : { "config", "load-scripts", "osc", "ytdl", "terminal" })
        mpv_set_option_string(mpv, option, "no");
    mpv_node list {};
    if (mpv_initialize(mpv) >= 0 && mpv_get_property(mpv, "decoder-list", MPV_FORMAT_NODE, &list) >= 0) {
        if (list.format == MPV_FORMAT_NODE_ARRAY) {
            for (int i = 0; i < list.u.list->num; ++i) {
                const mpv_node& entry = list.u.list->values[i];
                if (entry.format != MPV_FORMAT_NODE_MAP)
                    continue;
                for (int k = 0; k < entry.u.list->num; ++k) {
                    const mpv_node& value = entry.u.list->values[k];
                    if (std::string_view(entry.u.list->keys[k]) == "codec"
                        && value.format == MPV_FORMAT_STRING)
                        names.emplace_back(value.u.string);
                }
            }
        }
        mpv_free_node_contents(&list);
    }
    mpv_terminate_destroy(mpv);
    return names;
}

} // namespace

std::vector<std::string> MpvDecoders::missing()
{
    if (m_answered)
        return m_missing;
    m_answered = true;
    const std::vector<std::string> codecs = codecNames();
    // A player that cannot be asked names nothing: the hint would only mislead.
    if (!codecs.empty())
        m_missing = platform::formatsWithoutDecoder(codecs);
    return m_missing;
}

} // namespace gui
