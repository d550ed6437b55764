#include "net/CurlGlobal.h"

#include <cstdlib>
#include <mutex>

void ensureCurlInitialised()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

CurlEasy makeCurlEasy()
{
    ensureCurlInitialised();
    return CurlEasy(curl_easy_init());
}

namespace {

std::mutex authorityMutex;
std::string authorityFile;

} // namespace

void setTrustedAuthorityFile(const std::string& path)
{
    std::lock_guard lock(authorityMutex);
    authorityFile = path;
}

void applyTrustedAuthorities(CURL* handle)
{
    std::string file;
    {
        std::lock_guard lock(authorityMutex);
        file = authorityFile;
    }
    if (file.empty()) {
        static const char* const fromEnvironment = std::getenv("SSL_CERT_FILE");
        if (fromEnvironment != nullptr)
            file = fromEnvironment;
    }
    if (!file.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, file.c_str()); // libcurl copies the text
}
