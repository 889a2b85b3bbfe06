#include "services/ServiceEndpoints.h"

#include "settings/SettingsStore.h"
#include "text/Trim.h"

namespace tovrik::services {

const char* ServiceHostKey(ServiceHost host) {
    switch (host) {
    case ServiceHost::Ocr:
        return "OcrBaseUrl";
    case ServiceHost::BaiduTranslate:
        return "TranslateBaseUrl";
    case ServiceHost::YoudaoTranslate:
        return "YoudaoBaseUrl";
    case ServiceHost::Speech:
        return "SpeechBaseUrl";
    }
    return "";
}

const char* DefaultServiceBase(ServiceHost host) {
    switch (host) {
    case ServiceHost::Ocr:
        return "https://aip.baidubce.com";
    case ServiceHost::BaiduTranslate:
        return "http://api.fanyi.baidu.com";
    case ServiceHost::YoudaoTranslate:
        return "http://fanyi.youdao.com";
    case ServiceHost::Speech:
        return "https://fanyi.baidu.com";
    }
    return "";
}

Text ServiceBase(const settings::SettingsStore& settings, ServiceHost host) {
    Text base = text::Trim(settings.ReadItem(kServiceSection, ServiceHostKey(host)));
    while (!base.empty() && base.back() == '/') {
        base.pop_back();
    }
    return base.empty() ? Text(DefaultServiceBase(host)) : base;
}

} // namespace tovrik::services
