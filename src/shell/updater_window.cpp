#include "shell/updater_window.h"

namespace zelvora {

Form4::Form4(rt::App& app)
    : rt::Form(app, "Form4")
{
    setCaption("Zelvora升级");
    setOwnChrome(true);
    setWidth(6000);
    setHeight(3600);
    Label1.setCaption("升级进程准备就绪...");
    Command1.setCaption("开始升级");
    Command2.setCaption("秒杀歌曲");
    Command3.setCaption("不想下了");
}

}  // namespace zelvora
