#include "net/CurlGlobal.h"

#include <cstdlib>

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

void applyTrustedAuthorities(CURL* handle)
{
    const char* file = std::getenv("SSL_CERT_FILE");
    if (file != nullptr && *file != '\0')
        curl_easy_setopt(handle, CURLOPT_CAINFO, file);
}
