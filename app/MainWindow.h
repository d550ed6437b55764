#pragma once

#include "speech/SynthesisView.h"

#include <QWidget>

#include <functional>

class Browser;
class Dialogs;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class StatusBar;
struct ProgramState;

// The drop-down lists of the main window.
struct OptionLists {
    QComboBox* engineType = nullptr;
    QComboBox* voice = nullptr;
    QComboBox* speed = nullptr;
    QComboBox* volume = nullptr;
    QComboBox* backgroundSound = nullptr;
    QComboBox* numberReading = nullptr;
    QComboBox* textEncoding = nullptr;
    QComboBox* textType = nullptr;
    QComboBox* audioFormat = nullptr;
    QComboBox* audioEncoding = nullptr;
    QComboBox* compressionLevel = nullptr;
};

// The program's only permanent window: the text box with its buttons and count, the option lists,
// the action buttons and the status bar. Control object names are the settings keys.
class MainWindow : public QWidget, public SynthesisView {
    Q_OBJECT
public:
    static constexpr int kOuterWidth = 671;
    static constexpr int kOuterHeight = 482;

    MainWindow(ProgramState& state, Dialogs& dialogs, Browser& browser, QWidget* parent = nullptr);
    ~MainWindow() override;

    const OptionLists& optionLists() const { return lists_; }
    QPlainTextEdit* textBox() const { return textBox_; }
    QPushButton* startButton() const { return startButton_; }
    QPushButton* stopButton() const { return stopButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* defaultsButton() const { return defaultsButton_; }

    void SetStatusText(const std::string& text);
    void UpdateCharCount();
    void ClearText();
    void PasteText();
    void ImportTextFile();
    void OnStatusBarPressed(int x, int y, Qt::MouseButtons buttons);

    // Later parts attach here: the feedback window opened from the status bar, and the close query.
    void setFeedbackOpener(std::function<void()> open) { openFeedback_ = std::move(open); }
    void setCloseQuery(std::function<void()> query) { closeQuery_ = std::move(query); }

    // SynthesisView
    std::string synthesisText() const override;
    void focusSynthesisText() override;
    SynthesisSettings currentSettings() const override;
    const std::vector<VoiceEntry>& voiceList() const override;
    void setStatusText(const std::string& text) override { SetStatusText(text); }
    void setSynthesisBusy(bool busy) override;
    void processPendingEvents() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();

    ProgramState& state_;
    Dialogs& dialogs_;
    Browser& browser_;
    OptionLists lists_;
    QPlainTextEdit* textBox_ = nullptr;
    QLabel* charLabel_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* defaultsButton_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    std::function<void()> openFeedback_;
    std::function<void()> closeQuery_;
    bool closed_ = false;
};
