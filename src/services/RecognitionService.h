#pragma once

#include "services/ServiceEndpoints.h"
#include "services/TokenCache.h"
#include "settings/SettingsStore.h"
#include "text/Types.h"

#include <cstdint>
#include <functional>

namespace tovrik::net {
class HttpTransport;
}
namespace tovrik::settings {
class Clock;
}

namespace tovrik::services {

class AudioPlayer;
class ServiceReply;
class JobStatusView;
class KeySource;

// What the service object needs from the rest of the program.
struct ServicePorts {
    // Carries the requests of the first HTTP client (token, basic recognition, the plain-text
    // translation, the speech download) ...
    net::HttpTransport& webTransport;
    // ... and of the second one (general recognition, the signed translation).
    net::HttpTransport& comTransport;
    const settings::Clock& clock;
    KeySource& keys;
    JobStatusView& status;
    AudioPlayer& audio;
    // Re-encodes a picture as JPEG for upload; empty bytes when it cannot be read.
    std::function<Bytes(BytesView image)> toJpeg;
};

// The one object that talks to the web services: it holds the keys and the access token, and
// recognises, translates and speaks. Every operation blocks until its reply has arrived (at
// most a minute a request); none reports an error other than through its result, the key
// error, the job status and LastFailure. A token the OCR service refuses is renewed once and
// the request repeated before anything is reported.
class RecognitionService {
public:
    // The settings file (token cache, service addresses) and the speech file live in the
    // program directory.
    RecognitionService(Text programDirectory, ServicePorts ports);

    void SetKeys(TextView translationAppId, TextView translationKey, TextView apiKey, TextView secretKey);
    // The cached token while more than 1 ms of its lifetime remains (unless forced) and it was
    // issued by the OCR address and for the API key in use, else a new one; empty text when
    // none could be had.
    [[nodiscard]] Text GetAccessToken(bool force = false);
    // "error_code:<code>" when the service refuses the request.
    [[nodiscard]] Text RecognizeGeneral(BytesView image);
    // "error_code:<code>" when the service refuses the request; reads a translation aloud.
    [[nodiscard]] Text TranslateBaidu(TextView text, bool chineseToEnglish = false);
    // Downloads the speech for the text and starts playing it; playback runs on after return.
    void Speak(TextView text);
    // Each recognised line followed by CR LF; empty text for an empty image or no token.
    // Failures are shown as the job status instead of the completion.
    [[nodiscard]] Text RecognizeBasic(BytesView image);
    // The translation followed by CR LF; CR LF alone when the reply held none. Failures are
    // shown as the job status instead of the completion.
    [[nodiscard]] Text TranslateYoudao(TextView text);
    // Why the last token, recognition or translation gave nothing, in words for the user: the
    // address that took too long or did not answer, a reply that was not JSON, the service's
    // error code and message, the key error. Empty after a success or when nothing was found.
    [[nodiscard]] const Text& LastFailure() const { return m_lastFailure; }

    // Shows a status above the recognition box, or above the translation box when it mentions
    // translation, and in the status label.
    void ShowJobStatus(TextView text);
    [[nodiscard]] const Text& JobStatus() const { return m_jobStatus; }
    // Blocks until the speech started by Speak has ended, then releases the sound device: 0, or
    // the player's error number when nothing could be played.
    [[nodiscard]] unsigned WaitForSpeech();

private:
    enum class TokenAnswer { Issued, Refused, Failed };

    [[nodiscard]] Text Base(ServiceHost host) const;
    [[nodiscard]] bool CachedTokenIsOurs();
    void LoadKeysFromBoxes();
    [[nodiscard]] bool BoxesHoldOtherKeys() const;
    [[nodiscard]] TokenAnswer RequestToken();
    // Posts with the token (post builds the request around it), renewing a refused token once:
    // tokenInOut is then the new token, or empty when none came (LastFailure says why).
    [[nodiscard]] ServiceReply PostWithToken(Text& tokenInOut, const std::function<ServiceReply(TextView)>& post);
    void ShowTokenFailure();
    [[nodiscard]] Text ElapsedText(std::uint64_t start) const;

    Text m_directory;
    settings::SettingsStore m_settings;
    ServicePorts m_ports;
    Text m_translationAppId;
    Text m_translationKey;
    Text m_apiKey;
    Text m_secretKey;
    Text m_accessToken;
    TokenCache m_tokenCache;
    Text m_jobStatus;
    Text m_lastFailure;
    bool m_keysRefused = false;
};

} // namespace tovrik::services
