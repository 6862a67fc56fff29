#include "platform/dialogs.h"

#include <algorithm>

namespace platform {

std::vector<int> buttonsOf(int buttons)
{
    switch (buttons & 7) {
    case OkCancel:
        return { AnswerOk, AnswerCancel };
    case YesNoCancel:
        return { AnswerYes, AnswerNo, AnswerCancel };
    case YesNo:
        return { AnswerYes, AnswerNo };
    default:
        return { AnswerOk };
    }
}

int defaultAnswer(const MessageBoxRequest& request)
{
    const std::vector<int> set = buttonsOf(request.buttons);
    size_t index = 0;
    if (request.defaultButton == DefaultButton2)
        index = 1;
    else if (request.defaultButton == DefaultButton3)
        index = 2;
    return set[std::min(index, set.size() - 1)];
}

std::string buttonsName(int buttons)
{
    switch (buttons & 7) {
    case OkCancel:
        return "okcancel";
    case YesNoCancel:
        return "yesnocancel";
    case YesNo:
        return "yesno";
    default:
        return "ok";
    }
}

std::string answerName(int answer)
{
    switch (answer) {
    case AnswerOk:
        return "ok";
    case AnswerCancel:
        return "cancel";
    case AnswerYes:
        return "yes";
    case AnswerNo:
        return "no";
    default:
        return "none";
    }
}

int ScriptedDialogs::messageBox(const MessageBoxRequest& request)
{
    int answer = defaultAnswer(request);
    if (!m_answers.empty()) {
        const int queued = m_answers.front();
        m_answers.pop_front();
        const std::vector<int> set = buttonsOf(request.buttons);
        if (std::find(set.begin(), set.end(), queued) != set.end())
            answer = queued;
    }
    m_messages.push_back({ request, answer });
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const OpenFileRequest& request)
{
    m_fileRequests.push_back(request);
    if (m_files.empty())
        return std::nullopt;
    std::string path = std::move(m_files.front());
    m_files.pop_front();
    if (path.empty())
        return std::nullopt;
    return path;
}

std::optional<std::string> ScriptedDialogs::browseFolder(
    const std::string& title, const std::string& initialFolder)
{
    m_folderRequests.push_back(title);
    m_folderStarts.push_back(initialFolder);
    if (m_folders.empty())
        return std::nullopt;
    std::string path = std::move(m_folders.front());
    m_folders.pop_front();
    if (path.empty())
        return std::nullopt;
    return path;
}

std::vector<ShownMessage> ScriptedDialogs::takeMessages()
{
    std::vector<ShownMessage> out(m_messages.begin() + static_cast<long>(m_taken), m_messages.end());
    m_taken = m_messages.size();
    return out;
}

} // namespace platform
