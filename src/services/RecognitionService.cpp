#include "services/RecognitionService.h"

#include "files/Files.h"
#include "net/ComWebRequest.h"
#include "net/RequestShaping.h"
#include "net/WebRequest.h"
#include "services/AudioPlayer.h"
#include "services/JobStatusView.h"
#include "services/KeySource.h"
#include "services/ServiceReply.h"
#include "services/SpeechCommands.h"
#include "services/UnescapeUnicode.h"
#include "settings/Clock.h"
#include "settings/Timestamp.h"
#include "text/Encoding.h"
#include "text/ParamList.h"
#include "json/JsonDocument.h"

namespace tovrik::services {
namespace {

constexpr TextView kBrowserAgent = "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
                                   "Chrome/69.0.3497.100 Safari/537.36";
constexpr TextView kFormContentType = "application/x-www-form-urlencoded";
constexpr TextView kKeyError = "错误的Api Key或Secret Key,请检查百度识别ApiKey设置!";
constexpr TextView kSpeechAlias = "Baidu";
constexpr TextView kSpeechFile = "tts.mp3";
constexpr TextView kRecognitionFailed = "识别失败:";
constexpr TextView kTranslationFailed = "翻译失败:";
constexpr int kPost = 1;

[[nodiscard]] Text LinesAt(json::JsonDocument& document, TextView arrayPath, TextView itemPrefix, TextView itemSuffix) {
    Text result;
    const int count = document.Count(arrayPath);
    for (int i = 0; i < count; ++i) {
        result += document.GetText(Text(itemPrefix) + std::to_string(i) + Text(itemSuffix));
        result += "\r\n";
    }
    return result;
}

// The plain-text interface says "errorCode=N" on a line of its own when it refuses.
[[nodiscard]] Text YoudaoFailureText(TextView reply, net::HttpFailure failure, TextView host) {
    if (failure != net::HttpFailure::None) {
        return TransportFailureText(kTranslationFailed, host, failure);
    }
    constexpr TextView kCode = "errorCode=";
    const std::size_t code = reply.find(kCode);
    if (code != TextView::npos) {
        const std::size_t end = reply.find_first_of("\r\n", code);
        return Text(kTranslationFailed) + Text(reply.substr(code, end == TextView::npos ? TextView::npos : end - code));
    }
    return Text(kTranslationFailed) + Text(host) + " 的应答中没有翻译结果!";
}

} // namespace

RecognitionService::RecognitionService(Text programDirectory, ServicePorts ports)
    : m_directory(std::move(programDirectory)), m_settings(m_directory), m_ports(std::move(ports)),
      m_tokenCache(m_settings, m_ports.clock) {}

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

// A cache that names no owner was written by an earlier version; it is trusted until the
// service refuses it.
bool RecognitionService::CachedTokenIsOurs() {
    const Text issuedBy = m_tokenCache.IssuedBy();
    if (!issuedBy.empty() && net::LowerAscii(issuedBy) != net::LowerAscii(Base(ServiceHost::Ocr))) {
        return false;
    }
    const Text issuedFor = m_tokenCache.IssuedFor();
    if (issuedFor.empty()) {
        return true;
    }
    if (m_apiKey.empty()) {
        LoadKeysFromBoxes();
    }
    return issuedFor == m_apiKey;
}

bool RecognitionService::BoxesHoldOtherKeys() const {
    const Text apiKey = m_ports.keys.ApiKeyText();
    const Text secretKey = m_ports.keys.SecretKeyText();
    return !apiKey.empty() && !secretKey.empty() && (apiKey != m_apiKey || secretKey != m_secretKey);
}

void RecognitionService::LoadKeysFromBoxes() {
    m_secretKey = m_ports.keys.SecretKeyText();
    m_apiKey = m_ports.keys.ApiKeyText();
}

Text RecognitionService::GetAccessToken(bool force) {
    m_lastFailure.clear();
    m_keysRefused = false;
    m_accessToken = m_tokenCache.Token();
    const bool cached = !m_accessToken.empty();
    if (cached && !force && m_tokenCache.IsValid() && CachedTokenIsOurs()) {
        return m_accessToken;
    }
    const bool keysFromBoxes = m_apiKey.empty() || force;
    if (keysFromBoxes) {
        LoadKeysFromBoxes();
    }
    m_accessToken.clear();
    TokenAnswer answer = RequestToken();
    // Keys held since start-up may be older than the boxes when a stale cache is renewed: the
    // boxes get one more try before the keys are called wrong.
    if (answer == TokenAnswer::Refused && cached && !keysFromBoxes && BoxesHoldOtherKeys()) {
        LoadKeysFromBoxes();
        answer = RequestToken();
    }
    if (answer == TokenAnswer::Refused) {
        m_keysRefused = true;
        m_lastFailure = kKeyError;
        m_ports.keys.ShowKeyError(kKeyError);
        return {};
    }
    return m_accessToken;
}

RecognitionService::TokenAnswer RecognitionService::RequestToken() {
    text::ParamList form;
    form.AddPair("grant_type", "client_credentials");
    form.AddPair("client_id", m_apiKey);
    form.AddPair("client_secret", m_secretKey);
    text::ParamList headers;
    headers.AddPair("User-Agent", kBrowserAgent);
    const Text body = form.FormText();
    const Text headerText = headers.HeaderText();
    const Text base = Base(ServiceHost::Ocr);
    Text responseHeaders;
    net::HttpFailure failure = net::HttpFailure::None;
    const Bytes reply = net::WebRequest(m_ports.webTransport, base + "/oauth/2.0/token",
                                        {.method = kPost,
                                         .postText = body,
                                         .extraHeaders = headerText,
                                         .responseHeadersOut = &responseHeaders,
                                         .failureOut = &failure});

    ServiceReply answer(text::ConvertCharset(reply), failure, responseHeaders);
    if (!answer.Loaded()) {
        m_lastFailure = answer.FailureText(kRecognitionFailed, HostOf(base));
        return TokenAnswer::Failed;
    }
    m_accessToken = answer.Document().GetText("['access_token']");
    if (m_accessToken.empty()) {
        return TokenAnswer::Refused;
    }
    m_tokenCache.Store(m_accessToken, answer.Document().GetText("['expires_in']"), base, m_apiKey);
    return TokenAnswer::Issued;
}

ServiceReply RecognitionService::PostWithToken(Text& tokenInOut, const std::function<ServiceReply(TextView)>& post) {
    ServiceReply reply = post(tokenInOut);
    // An empty token was refused already by the token endpoint: asking again would not help.
    if (!reply.RefusesToken() || tokenInOut.empty()) {
        return reply;
    }
    const Text renewed = GetAccessToken(true);
    if (renewed.empty()) {
        // LastFailure now says why no token came, which is what the user can act on.
        tokenInOut.clear();
        return reply;
    }
    tokenInOut = renewed;
    return post(tokenInOut);
}

void RecognitionService::ShowTokenFailure() {
    // The key error has its own place, the settings window's hint.
    if (!m_keysRefused && !m_lastFailure.empty()) {
        ShowJobStatus(m_lastFailure);
    }
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
    Text token = GetAccessToken();
    if (token.empty()) {
        ShowTokenFailure();
        return {};
    }
    ShowJobStatus("正在执行识别....");
    const std::uint64_t start = m_ports.clock.TickCount();
    const Text base = Base(ServiceHost::Ocr);
    const Text body = "image=" + text::UrlEncode(text::Base64Encode(jpeg), true, true);
    ServiceReply reply = PostWithToken(token, [&](TextView currentToken) {
        const Text url = base + "/rest/2.0/ocr/v1/general_basic?access_token=" + Text(currentToken);
        Text headers;
        net::HttpFailure failure = net::HttpFailure::None;
        const Bytes answer = net::WebRequest(
            m_ports.webTransport, url,
            {.method = kPost, .postText = body, .responseHeadersOut = &headers, .failureOut = &failure});
        return ServiceReply(text::Utf8ToText(answer), failure, headers);
    });

    Text result = LinesAt(reply.Document(), "words_result", "words_result[", "].words");
    if (!token.empty()) {
        m_lastFailure = reply.FailureText(kRecognitionFailed, HostOf(base));
    }
    ShowJobStatus(m_lastFailure.empty() ? "识别完成.耗时(ms):" + ElapsedText(start) : m_lastFailure);
    return result;
}

Text RecognitionService::RecognizeGeneral(BytesView image) {
    Text token = GetAccessToken();
    const Text base = Base(ServiceHost::Ocr);
    text::ParamList form;
    form.AddPair("image", "data%3Aimage%2Fjpeg%3Bbase64%2C" + text::UrlEncode(text::Base64Encode(image), true, false));
    text::ParamList headers;
    headers.AddPair("Content-Type", kFormContentType);
    const Text body = form.FormText();
    const Text headerText = headers.HeaderText();
    ServiceReply reply = PostWithToken(token, [&](TextView currentToken) {
        const Text url = base + "/rest/2.0/ocr/v1/general?access_token=" + Text(currentToken);
        Text responseHeaders;
        net::HttpFailure failure = net::HttpFailure::None;
        const Bytes answer = net::ComWebRequest(url, {.method = kPost,
                                                      .postText = body,
                                                      .extraHeaders = headerText,
                                                      .responseHeadersOut = &responseHeaders,
                                                      .requestObject = &m_ports.comTransport,
                                                      .failureOut = &failure});
        return ServiceReply(text::Utf8ToText(answer), failure, responseHeaders);
    });

    if (!token.empty()) {
        m_lastFailure = reply.FailureText(kRecognitionFailed, HostOf(base));
    }
    if (!reply.Loaded()) {
        return {};
    }
    if (!reply.ErrorCode().empty()) {
        return "error_code:" + reply.ErrorCode();
    }
    return LinesAt(reply.Document(), "['words_result']", "['words_result'][", "].words");
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
    net::HttpFailure failure = net::HttpFailure::None;
    const Text reply =
        text::Utf8ToText(net::WebRequest(m_ports.webTransport, url, {.extraHeaders = referer, .failureOut = &failure}));

    constexpr TextView kMarker = "result=";
    const std::size_t marker = reply.find(kMarker);
    Text result = marker == Text::npos ? Text() : reply.substr(marker + kMarker.size());
    result += "\r\n";
    m_lastFailure = marker == Text::npos ? YoudaoFailureText(reply, failure, HostOf(base)) : Text();
    ShowJobStatus(m_lastFailure.empty() ? "翻译完成.耗时(ms):" + ElapsedText(start) : m_lastFailure);
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
