#pragma once

#include "platform/Browser.h"
#include "platform/Dialogs.h"
#include "platform/TextCodec.h"

#include <deque>
#include <string>
#include <vector>

// Answers message boxes and file dialogs from a script and records what was shown (texts in UTF-8).
class FakeDialogs final : public Dialogs {
public:
    struct Message {
        std::string text;
        std::string caption;
    };

    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<std::optional<std::filesystem::path>> fileAnswers; // empty queue = cancel
    std::deque<bool> questionAnswers;                              // empty queue = no

    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back({utf8(text), utf8(caption)});
    }
    bool askQuestion(const std::string& text, const std::string& caption) override
    {
        messages.push_back({utf8(text), utf8(caption)});
        if (questionAnswers.empty())
            return false;
        const bool answer = questionAnswers.front();
        questionAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> chooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileAnswers.empty())
            return std::nullopt;
        std::optional<std::filesystem::path> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

class FakeBrowser final : public Browser {
public:
    std::vector<std::string> opened;
    void openUrl(const std::string& url) override { opened.push_back(url); }
};
