#pragma once
// Loads the Qt WebEngine module on first use and creates its pages.
#include <QLibrary>
#include <memory>
#include <string>

#include "gui/web_page.h"

namespace gui {

class WebModule {
public:
    WebModule();
    ~WebModule();
    WebModule(const WebModule&) = delete;
    WebModule& operator=(const WebModule&) = delete;

    // A new page, loading the module first when needed; nullptr when the module cannot be
    // loaded (said once on the error output; the browsers then fall back to the headless engine).
    std::unique_ptr<WebPage> createPage(const WebStorage& storage);
    // Whether the module has been loaded (Qt WebEngine is running).
    [[nodiscard]] bool loaded() const { return m_create != nullptr; }
    // Another export of the loaded module, or nullptr (also while the module is not loaded).
    QFunctionPointer symbol(const char* name);

private:
    bool load();

    QLibrary m_library;
    CreateWebPageFunction m_create = nullptr;
    bool m_tried = false;
};

} // namespace gui
