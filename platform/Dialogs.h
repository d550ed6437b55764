#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the shared file dialog is asked to do. Texts are GBK.
struct FileDialogRequest {
    bool save = false;
    std::string fileName;
    // One description and one pattern joined by "|", e.g. "文本文档(*.txt)|*.txt".
    std::string filter;
    // Empty keeps the directory the dialog last showed.
    std::filesystem::path directory;
};

// Message boxes and the file dialog, behind one interface so that tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Modal message box with the information icon; caption "信息：" when empty.
    virtual void showMessage(const std::string& text, const std::string& caption = {}) = 0;
    // Modal question; true for OK/Yes, false for anything else.
    virtual bool askQuestion(const std::string& text, const std::string& caption = {}) = 0;
    // nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> chooseFile(const FileDialogRequest& request) = 0;
};
