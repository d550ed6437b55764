#include "net/OutsideHosts.h"

#include <cstdlib>

namespace {

std::string hostOrOverride(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? std::string(value) : std::string(fallback);
}

} // namespace

OutsideHosts OutsideHosts::fromEnvironment()
{
    OutsideHosts hosts;
    hosts.webTts = hostOrOverride("LANGQUE_HOST_WEB_TTS", "fanyi.baidu.com");
    hosts.makerSite = hostOrOverride("LANGQUE_HOST_MAKER_SITE", "www.langque.cn");
    return hosts;
}

const OutsideHosts& OutsideHosts::current()
{
    static const OutsideHosts hosts = fromEnvironment();
    return hosts;
}

std::string homePageAddress(const std::string& host)
{
    return "http://" + host + "/";
}
