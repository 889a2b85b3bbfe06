#include "services/RecognitionService.h"

#include "files/Files.h"
#include "net/ComWebRequest.h"
#include "net/WebRequest.h"
#include "services/AudioPlayer.h"
#include "services/JobStatusView.h"
#include "services/KeySource.h"
#include "services/SpeechCommands.h"
#include "services/UnescapeUnicode.h"
#include "settings/Clock.h"
#include "settings/Timestamp.h"
#include "text/Encoding.h"
#include "text/ParamList.h"
#include "json/JsonDocument.h"

namespace tovrik::services {
namespace {

constexpr TextView kOcrSection = "OCR";
constexpr TextView kBrowserAgent = "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
                                   "Chrome/69.0.3497.100 Safari/537.36";
constexpr TextView kFormContentType = "application/x-www-form-urlencoded";
constexpr TextView kKeyError = "错误的Api Key或Secret Key,请检查百度识别ApiKey设置!";
constexpr TextView kSpeechAlias = "Baidu";
constexpr TextView kSpeechFile = "tts.mp3";
constexpr int kPost = 1;

// The leading decimal digits of a settings item; empty or non-numeric text gives 0.
[[nodiscard]] std::int64_t LeadingInteger(TextView text) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 18 && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

[[nodiscard]] Text LinesAt(json::JsonDocument& document, TextView arrayPath, TextView itemPrefix, TextView itemSuffix) {
    Text result;
    const int count = document.Count(arrayPath);
    for (int i = 0; i < count; ++i) {
        result += document.GetText(Text(itemPrefix) + std::to_string(i) + Text(itemSuffix));
        result += "\r\n";
    }
    return result;
}

} // namespace

RecognitionService::RecognitionService(Text programDirectory, ServicePorts ports)
    : m_directory(std::move(programDirectory)), m_settings(m_directory), m_ports(std::move(ports)) {}

void RecognitionService::SetKeys(TextView translationAppId, TextView translationKey, TextView apiKey,
                                 TextView secretKey) {
    m_translationAppId = translationAppId;
    m_translationKey = translationKey;
    m_apiKey = apiKey;
    m_secretKey = secretKey;
}

Text RecognitionService::Base(ServiceHost host) const {
    return ServiceBase(m_settings, host);
}

bool RecognitionService::CachedTokenIsValid() const {
    const auto getTime = LeadingInteger(m_settings.ReadItem(kOcrSection, "GetTime"));
    const auto expiresIn = LeadingInteger(m_settings.ReadItem(kOcrSection, "ExpiresTime"));
    const double deadline = static_cast<double>(getTime) + static_cast<double>(expiresIn) * 1000.0;
    const double now = static_cast<double>(LeadingInteger(settings::TimestampText(m_ports.clock)));
    // More than one millisecond must remain.
    return (deadline - now) - 1.0 > 0.0000001;
}

Text RecognitionService::GetAccessToken(bool force) {
    m_accessToken = m_settings.ReadItem(kOcrSection, "AccessToken");
    if (!m_accessToken.empty() && !force && CachedTokenIsValid()) {
        return m_accessToken;
    }
    if (m_apiKey.empty() || force) {
        m_secretKey = m_ports.keys.SecretKeyText();
        m_apiKey = m_ports.keys.ApiKeyText();
    }
    m_accessToken.clear();
    return RequestToken();
}

Text RecognitionService::RequestToken() {
    text::ParamList form;
    form.AddPair("grant_type", "client_credentials");
    form.AddPair("client_id", m_apiKey);
    form.AddPair("client_secret", m_secretKey);
    text::ParamList headers;
    headers.AddPair("User-Agent", kBrowserAgent);
    const Text body = form.FormText();
    const Text headerText = headers.HeaderText();
    const Bytes reply = net::WebRequest(m_ports.webTransport, Base(ServiceHost::Ocr) + "/oauth/2.0/token",
                                        {.method = kPost, .postText = body, .extraHeaders = headerText});

    json::JsonDocument document("da");
    document.Init();
    if (!document.Load(text::ConvertCharset(reply))) {
        return m_accessToken;
    }
    m_accessToken = document.GetText("['access_token']");
    if (m_accessToken.empty()) {
        m_ports.keys.ShowKeyError(kKeyError);
        return {};
    }
    const Text expiresIn = document.GetText("['expires_in']");
    m_settings.WriteItem(kOcrSection, "AccessToken", m_accessToken);
    m_settings.WriteItem(kOcrSection, "ExpiresTime", expiresIn);
    m_settings.WriteItem(kOcrSection, "GetTime", settings::TimestampText(m_ports.clock));
    return m_accessToken;
}

Text RecognitionService::ElapsedText(std::uint64_t start) const {
    return std::to_string(m_ports.clock.TickCount() - start);
}

Text RecognitionService::RecognizeBasic(BytesView image) {
    // A picture that cannot be read is refused here rather than sent as an empty upload.
    const Bytes jpeg = image.empty() ? Bytes() : m_ports.toJpeg(image);
    if (jpeg.empty()) {
        return {};
    }
    const Text token = GetAccessToken();
    if (token.empty()) {
        return {};
    }
    ShowJobStatus("正在执行识别....");
    const std::uint64_t start = m_ports.clock.TickCount();
    const Text url = Base(ServiceHost::Ocr) + "/rest/2.0/ocr/v1/general_basic?access_token=" + token;
    const Text body = "image=" + text::UrlEncode(text::Base64Encode(jpeg), true, true);
    const Bytes reply = net::WebRequest(m_ports.webTransport, url, {.method = kPost, .postText = body});

    json::JsonDocument document("da");
    document.Init();
    static_cast<void>(document.Load(text::Utf8ToText(reply))); // an unreadable reply counts no lines
    Text result = LinesAt(document, "words_result", "words_result[", "].words");
    ShowJobStatus("识别完成.耗时(ms):" + ElapsedText(start));
    return result;
}

Text RecognitionService::RecognizeGeneral(BytesView image) {
    const Text token = GetAccessToken();
    const Text url = Base(ServiceHost::Ocr) + "/rest/2.0/ocr/v1/general?access_token=" + token;
    text::ParamList form;
    form.AddPair("image", "data%3Aimage%2Fjpeg%3Bbase64%2C" + text::UrlEncode(text::Base64Encode(image), true, false));
    text::ParamList headers;
    headers.AddPair("Content-Type", kFormContentType);
    const Text body = form.FormText();
    const Text headerText = headers.HeaderText();
    const Bytes reply = net::ComWebRequest(
        url, {.method = kPost, .postText = body, .extraHeaders = headerText, .requestObject = &m_ports.comTransport});

    json::JsonDocument document("da");
    document.Init();
    if (!document.Load(text::Utf8ToText(reply))) {
        return {};
    }
    const Text errorCode = document.GetText("['error_code']");
    if (!errorCode.empty()) {
        return "error_code:" + errorCode;
    }
    return LinesAt(document, "['words_result']", "['words_result'][", "].words");
}

Text RecognitionService::TranslateBaidu(TextView text, bool chineseToEnglish) {
    const Text from = chineseToEnglish ? "zh" : "en";
    const Text to = chineseToEnglish ? "en" : "zh";
    const Text salt = settings::TimestampText(m_ports.clock, true);
    const Text sign = text::Md5Hex(m_translationAppId + text::TextToUtf8(text) + salt + m_translationKey);
    text::ParamList form;
    form.AddPair("q", text::UrlEncode(text, true, true));
    form.AddPair("from", from);
    form.AddPair("to", to);
    form.AddPair("appid", m_translationAppId);
    form.AddPair("salt", salt);
    form.AddPair("sign", sign);
    text::ParamList headers;
    headers.AddPair("User-Agent", kBrowserAgent);
    headers.AddPair("Content-Type", kFormContentType);
    const Text body = form.FormText();
    const Text headerText = headers.HeaderText();
    const Bytes reply = net::ComWebRequest(
        Base(ServiceHost::BaiduTranslate) + "/api/trans/vip/translate",
        {.method = kPost, .postText = body, .extraHeaders = headerText, .requestObject = &m_ports.comTransport});

    json::JsonDocument document("da");
    document.Init();
    if (!document.Load(text::Utf8ToText(reply))) {
        return {};
    }
    const Text errorCode = document.GetText("['error_code']");
    if (!errorCode.empty()) {
        return "error_code:" + errorCode;
    }
    Text result;
    const int count = document.Count("['trans_result']");
    for (int i = 0; i < count; ++i) {
        result += UnescapeUnicode(document.GetText("['trans_result'][" + std::to_string(i) + "].dst"));
        result += "\r\n";
    }
    Speak(result);
    return result;
}

Text RecognitionService::TranslateYoudao(TextView text) {
    ShowJobStatus("正在执行翻译....");
    const std::uint64_t start = m_ports.clock.TickCount();
    const Text base = Base(ServiceHost::YoudaoTranslate);
    const Text url = base + "/translate?i=" + text::UrlEncode(text, true, true) +
                     "&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se";
    const Text referer = "Referer: " + base + "/translate";
    const Text reply = text::Utf8ToText(net::WebRequest(m_ports.webTransport, url, {.extraHeaders = referer}));

    constexpr TextView kMarker = "result=";
    const std::size_t marker = reply.find(kMarker);
    Text result = marker == Text::npos ? Text() : reply.substr(marker + kMarker.size());
    result += "\r\n";
    ShowJobStatus("翻译完成.耗时(ms):" + ElapsedText(start));
    return result;
}

void RecognitionService::Speak(TextView text) {
    const Text language = HasDoubleByteChar(text) ? "zh" : "en";
    const Text url = Base(ServiceHost::Speech) + "/gettts?lan=" + language +
                     "&text=" + text::UrlEncode(text, true, true) + "&spd=5&source=web";
    const Bytes audio = net::WebRequest(m_ports.webTransport, url);
    const Text path = files::JoinPath(m_directory, kSpeechFile);
    static_cast<void>(files::RemoveFile(path));
    static_cast<void>(files::WriteFile(path, audio));
    static_cast<void>(CloseSound(m_ports.audio, kSpeechAlias));
    static_cast<void>(PlaySound(m_ports.audio, path, kSpeechAlias));
    // Normally refused while the player holds the file open; it then stays until the next call.
    static_cast<void>(files::RemoveFile(path));
}

unsigned RecognitionService::WaitForSpeech() {
    const unsigned result = m_ports.audio.SendCommand("play " + Text(kSpeechAlias) + " wait");
    static_cast<void>(CloseSound(m_ports.audio, kSpeechAlias));
    return result;
}

void RecognitionService::ShowJobStatus(TextView text) {
    m_jobStatus = text;
    const bool aboutTranslation = m_jobStatus.find("翻译") != Text::npos;
    m_ports.status.SetLabelCaption(aboutTranslation ? "标签_翻译结果" : "标签_ocr结果", m_jobStatus);
    m_ports.status.SetLabelCaption("透明标签_执行状态", m_jobStatus);
}

} // namespace tovrik::services
