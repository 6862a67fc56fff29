#pragma once
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"
#include "video/web_list.h"

namespace video {

// The marks before an entry of the video list, checked and not.
inline constexpr const char* kEntryChecked = "☑ ";
inline constexpr const char* kEntryUnchecked = "☐ ";

// The video list "视频列表": the entries of a page of several videos, each with its check
// mark. A double click resolves one entry in the video window; "全部下载" puts the checked
// ones on the download list, each with its number.
class heji : public runtime::Form {
public:
    explicit heji(runtime::App& app);

    runtime::Label Label1 { *this, "Label1" };
    runtime::ListBox List1 { *this, "List1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };
    runtime::CommandButton Command4 { *this, "Command4" };
    runtime::CommandButton Command5 { *this, "Command5" };

    // Shows the entries of a page, all checked.
    void showEntries(std::vector<WebEntry> entries);

    void List1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

private:
    void checkAll(bool checked);
    void redraw();
    // Asks yt-dlp for the formats of entries[index] and puts one that comes as one file (or as
    // pieces of one stream) on the download list; false when it has none.
    bool queueEntry(const std::vector<WebEntry>& entries, size_t index);

    std::vector<WebEntry> m_entries;
    std::vector<bool> m_checked;
};

} // namespace video
