#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// The updater window: self-download of a new version, or the song harvest prompt.
class Form4 : public rt::Form {
public:
    explicit Form4(rt::App& app);

    rt::Label Label1{*this, "Label1"};
    rt::CommandButton Command1{*this, "Command1"};
    rt::CommandButton Command2{*this, "Command2"};
    rt::CommandButton Command3{*this, "Command3"};
    rt::TextBox Text1{*this, "Text1"};
    rt::Timer Timer1{*this, "Timer1"};
};

}  // namespace zelvora
