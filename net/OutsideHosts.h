#pragma once

#include <string>

// Every outside host the program talks to, in one place. Each is read once, at first use (start-up),
// and can be replaced by the environment variable LANGQUE_HOST_<ROLE>: host, optionally ":" port.
struct OutsideHosts {
    std::string webTts;    // LANGQUE_HOST_WEB_TTS: the translation web host that speaks the multi-language texts
    std::string makerSite; // LANGQUE_HOST_MAKER_SITE: the maker's web site, shown in the status bar

    static const OutsideHosts& current();
    // Reads the defaults and the overrides; current() is this, taken once.
    static OutsideHosts fromEnvironment();
};

// "http://" + host + "/": the address of a host's home page.
std::string homePageAddress(const std::string& host);
