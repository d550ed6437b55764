#pragma once

#include "platform/Dialogs.h"

class QWidget;

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text, const std::string& caption) override;
    bool askQuestion(const std::string& text, const std::string& caption) override;
    std::optional<std::filesystem::path> chooseFile(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
    std::filesystem::path lastDirectory_;
};
