#pragma once
// Starting documents, addresses and programs with the desktop's handlers.
#include <string>

#include "platform/result.h"

namespace platform {

// Window styles for started programs, numbered as the platform's start call numbers them.
enum WindowStyle {
    StyleHidden = 0,
    StyleNormal = 1,
    StyleMinimized = 2,
    StyleMaximized = 3,
    StyleNormalNoFocus = 4,
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document or an address with its default handler, in workingFolder.
    virtual Status open(const std::string& address, const std::string& workingFolder = {}) = 0;
    // Starts a program with arguments and a window style; does not wait for it.
    virtual Status start(const std::string& program, const std::string& arguments, int style) = 0;
    // Shows a file selected in the file manager (or its folder when that is not possible).
    virtual Status reveal(const std::string& path) = 0;
};

} // namespace platform
