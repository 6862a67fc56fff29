#pragma once
// Message boxes and file dialogs. Calls are synchronous and return the user's answer.
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// Button sets, icons, default buttons and answers, numbered as the platform numbers them.
enum MsgButtons { OkOnly = 0, OkCancel = 1, YesNoCancel = 3, YesNo = 4 };
enum MsgIcon { NoIcon = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum MsgDefault { DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512 };
enum MsgAnswer { AnswerNone = 0, AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

struct MessageBoxRequest {
    std::string text;
    std::string title;
    int buttons = OkOnly;
    int icon = NoIcon;
    int defaultButton = DefaultButton1;
};

// The buttons of a set in their order on screen.
std::vector<int> buttonsOf(int buttons);
// The answer of the default button of a request.
int defaultAnswer(const MessageBoxRequest& request);
// "ok", "okcancel", "yesno", "yesnocancel"; "ok", "cancel", "yes", "no" for answers.
std::string buttonsName(int buttons);
std::string answerName(int answer);

// One filter of an open-file dialog: a description and a pattern list ("*.mp3;*.wav").
struct FileFilter {
    std::string description;
    std::string patterns;
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialFolder;
    int filterIndex = 1;
    // Asks for a file to write (it may not exist yet) instead of an existing one.
    bool save = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message box and returns the answer (MsgAnswer).
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // Asks for one existing file; nothing when cancelled.
    virtual std::optional<std::string> openFile(const OpenFileRequest& request) = 0;
    // Asks for a folder, starting in initialFolder (when given); nothing when cancelled.
    virtual std::optional<std::string> browseFolder(
        const std::string& title, const std::string& initialFolder)
        = 0;
};

// A message box as it was shown, with the answer it got.
struct ShownMessage {
    MessageBoxRequest request;
    int answer = AnswerNone;
};

// Dialogs answered from queues: for tests and the headless console. A message box without
// a queued answer (or with one that is not among its buttons) takes its default button; a
// file dialog without a queued answer is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    void queueAnswer(int answer) { m_answers.push_back(answer); }
    // An empty text queues a cancel.
    void queueFile(std::string path) { m_files.push_back(std::move(path)); }
    void queueFolder(std::string path) { m_folders.push_back(std::move(path)); }

    int messageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> openFile(const OpenFileRequest& request) override;
    std::optional<std::string> browseFolder(
        const std::string& title, const std::string& initialFolder) override;

    // Every message box shown, in order.
    [[nodiscard]] const std::vector<ShownMessage>& messages() const { return m_messages; }
    // The message boxes shown since the last call.
    std::vector<ShownMessage> takeMessages();
    [[nodiscard]] const std::vector<OpenFileRequest>& fileRequests() const { return m_fileRequests; }
    [[nodiscard]] const std::vector<std::string>& folderRequests() const { return m_folderRequests; }
    // The folder each folder chooser started in, in order.
    [[nodiscard]] const std::vector<std::string>& folderStarts() const { return m_folderStarts; }

private:
    std::deque<int> m_answers;
    std::deque<std::string> m_files;
    std::deque<std::string> m_folders;
    std::vector<ShownMessage> m_messages;
    size_t m_taken = 0;
    std::vector<OpenFileRequest> m_fileRequests;
    std::vector<std::string> m_folderRequests;
    std::vector<std::string> m_folderStarts;
};

} // namespace platform
