#pragma once

#include <string>

// Opens a web address in the user's default browser.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void openUrl(const std::string& url) = 0;
};

class DesktopBrowser final : public Browser {
public:
    void openUrl(const std::string& url) override;
};
