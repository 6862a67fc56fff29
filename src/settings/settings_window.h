#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// The settings window: background colour sliders, a dropped background picture, apply and
// restore.
class setz : public rt::Form {
public:
    explicit setz(rt::App& app);
    void load() override;

    rt::Label Label1{*this, "Label1"};
    rt::Label Label2{*this, "Label2"};
    rt::Label Label3{*this, "Label3"};
    rt::Label Label4{*this, "Label4"};
    rt::TextBox Text5{*this, "Text5"};
};

}  // namespace zelvora
