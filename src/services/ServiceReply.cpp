#include "services/ServiceReply.h"

#include "net/UrlParts.h"

namespace tovrik::services {

ServiceReply::ServiceReply(TextView text, net::HttpFailure failure, TextView headers)
    : m_empty(text.empty()), m_failure(failure), m_statusLine(headers.substr(0, headers.find("\r\n"))) {
    m_document.Init();
    m_loaded = m_document.Load(text);
    if (m_loaded) {
        m_errorCode = m_document.GetText("['error_code']");
        m_errorMessage = m_document.GetText("['error_msg']");
        m_oauthError = m_document.GetText("['error']");
        m_oauthDescription = m_document.GetText("['error_description']");
    }
}

bool ServiceReply::RefusesToken() const {
    // 110: unknown or no longer valid, 111: expired; the OAuth names when the gateway in front
    // of the service answers in the token endpoint's style.
    return m_errorCode == "110" || m_errorCode == "111" || m_oauthError == "invalid_client" ||
           m_oauthError == "invalid_grant";
}

Text ServiceReply::FailureText(TextView prefix, TextView host) const {
    if (m_failure != net::HttpFailure::None) {
        return TransportFailureText(prefix, host, m_failure);
    }
    const Text status = m_statusLine.empty() ? Text() : "(" + m_statusLine + ")";
    if (m_empty) {
        return Text(prefix) + Text(host) + " 的应答是空的" + status + "!";
    }
    if (!m_loaded) {
        return Text(prefix) + Text(host) + " 的应答不是JSON" + status + "!";
    }
    if (!m_errorCode.empty()) {
        return Text(prefix) + "error_code:" + m_errorCode + ",error_msg:" + m_errorMessage;
    }
    if (!m_oauthError.empty()) {
        return Text(prefix) + "error:" + m_oauthError +
               (m_oauthDescription.empty() ? Text() : "," + m_oauthDescription);
    }
    return {};
}

Text TransportFailureText(TextView prefix, TextView host, net::HttpFailure failure) {
    switch (failure) {
    case net::HttpFailure::None:
        return {};
    case net::HttpFailure::NoAnswer:
        return Text(prefix) + Text(host) + " 没有应答!";
    case net::HttpFailure::TimedOut:
        return Text(prefix) + Text(host) + " 应答超时!";
    case net::HttpFailure::TooLarge:
        return Text(prefix) + Text(host) + " 的应答过大!";
    }
    return {};
}

Text HostOf(TextView baseUrl) {
    return net::UrlHost(baseUrl, true);
}

} // namespace tovrik::services
