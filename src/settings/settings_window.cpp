#include "settings/settings_window.h"

#include "runtime/app.h"
#include "shell/hub_window.h"

namespace zelvora {

setz::setz(rt::App& app)
    : rt::Form(app, "setz")
{
    setCaption("选项设置");
    setOwnChrome(true);
    setWidth(7800);
    setHeight(6600);
    Label1.setCaption("选项设置");
    Label2.setCaption("");
    Label3.setCaption("×");
    Label4.setCaption("背景设置");
    Text5.setText("11599360");
}

void setz::load()
{
    // Centred on the hub.
    const moban& hub = app().get<moban>();
    move(hub.left() + hub.width() / 2 - width() / 2, hub.top() + hub.height() / 2 - height() / 2);
}

}  // namespace zelvora
