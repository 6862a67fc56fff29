#pragma once
#include <string>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace music {

// The hidden store of the music service pages: the caption of each page label is the whole
// page that the online music window writes into its browser. Never shown.
class music : public runtime::Form {
public:
    explicit music(runtime::App& app);
    void load() override;

    runtime::Label kugou { *this, "kugou" };
    runtime::Label kuwo { *this, "kuwo" };
    runtime::Label xiami { *this, "xiami" };
    runtime::Label yyt { *this, "yyt" };
    runtime::Label jiuku { *this, "jiuku" };
    runtime::Label duomi { *this, "duomi" };
    runtime::Label baidu { *this, "baidu" };
    runtime::Label sougou { *this, "sougou" };
    runtime::Label QQ { *this, "QQ" };
    runtime::Label douban { *this, "douban" };
    runtime::Label wangyi { *this, "wangyi" };
    runtime::Label beiwa { *this, "beiwa" };
    // Title strip labels; a mouse move over the window makes them transparent again.
    runtime::Label Label3 { *this, "Label3" };
    runtime::Label Label4 { *this, "Label4" };

    void Form_MouseMove(const runtime::MouseEvent& e);
};

// The page of one service ("kugou", "yyt", ...): its page text with the player address put
// into the frame (escaped for an attribute value) and every line ended by CR LF. Empty when
// the service has no page.
std::string servicePage(const std::string& service, const std::string& playerAddress);

} // namespace music
