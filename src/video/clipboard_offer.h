#pragma once
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace video {

// The title of the notice that offers a copied video address.
inline constexpr const char* kOfferNotice = "下载这个视频？";

// The hidden window that, while the person has it turned on, looks at the clipboard once a
// second and offers a newly copied address of a supported site in a tray notice; a click on
// the notice puts the address in the video window. Nothing is resolved or fetched by itself.
class jiantie : public runtime::Form {
public:
    explicit jiantie(runtime::App& app);
    void load() override;

    runtime::Timer Timer1 { *this, "Timer1" };
    void Timer1_Timer();

private:
    std::string m_seen;
    std::string m_offered;
};

// Starts or stops looking at the clipboard as the download list's setting says.
void watchClipboard(runtime::App& app);
// Turns the offer on or off (kept with the download list's settings).
void setClipboardOffer(runtime::App& app, bool on);

} // namespace video
