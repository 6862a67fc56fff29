#pragma once
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// The hidden store of the music service pages: the caption of each page label is the whole
// page that the online music window writes into its browser. Never shown.
class music : public rt::Form {
public:
    explicit music(rt::App& app);
    void load() override;

    rt::Label kugou { *this, "kugou" };
    rt::Label kuwo { *this, "kuwo" };
    rt::Label xiami { *this, "xiami" };
    rt::Label yyt { *this, "yyt" };
    rt::Label jiuku { *this, "jiuku" };
    rt::Label duomi { *this, "duomi" };
    rt::Label baidu { *this, "baidu" };
    rt::Label sougou { *this, "sougou" };
    rt::Label QQ { *this, "QQ" };
    rt::Label douban { *this, "douban" };
    rt::Label wangyi { *this, "wangyi" };
    rt::Label beiwa { *this, "beiwa" };
    // Title strip labels; a mouse move over the window makes them transparent again.
    rt::Label Label3 { *this, "Label3" };
    rt::Label Label4 { *this, "Label4" };

    void Form_MouseMove(const rt::MouseEvent& e);
};

// The page of one service ("kugou", "yyt", ...): its page text with the player address put
// into the frame (escaped for an attribute value) and every line ended by CR LF. Empty when
// the service has no page.
std::string servicePage(const std::string& service, const std::string& playerAddress);

} // namespace zelvora
