#pragma once

#include "net/HttpFailure.h"
#include "text/Types.h"
#include "json/JsonDocument.h"

namespace tovrik::services {

// One reply of the OCR service or its token endpoint, read as JSON, and what went wrong with it
// in words the user can act on: the service took too long, did not answer, answered with
// something that is not JSON, or refused the request with its own error code and message.
class ServiceReply {
public:
    // text: the body decoded to program text; headers: the reply's header block, whose first
    // line (the status line) is named when the body is of no use.
    ServiceReply(TextView text, net::HttpFailure failure, TextView headers);

    [[nodiscard]] bool Loaded() const { return m_loaded; }
    // The document "da" holding the reply (null when it was not JSON).
    [[nodiscard]] json::JsonDocument& Document() { return m_document; }
    // The service's "error_code" and "error_msg", or the token endpoint's "error".
    [[nodiscard]] const Text& ErrorCode() const { return m_errorCode; }
    [[nodiscard]] const Text& ErrorMessage() const { return m_errorMessage; }
    [[nodiscard]] const Text& OAuthError() const { return m_oauthError; }
    // The access token in the request is unknown, expired or not accepted.
    [[nodiscard]] bool RefusesToken() const;
    // Why the reply is of no use, after the job's prefix ("识别失败:"); empty when it is.
    [[nodiscard]] Text FailureText(TextView prefix, TextView host) const;

private:
    json::JsonDocument m_document{"da"};
    bool m_loaded = false;
    bool m_empty = false;
    net::HttpFailure m_failure;
    Text m_statusLine;
    Text m_errorCode;
    Text m_errorMessage;
    Text m_oauthError;
    Text m_oauthDescription;
};

// The texts of a failed exchange, after the job's prefix; empty for HttpFailure::None.
[[nodiscard]] Text TransportFailureText(TextView prefix, TextView host, net::HttpFailure failure);
// The host (with its port, if any) of a service address, as the user wrote it into the settings.
[[nodiscard]] Text HostOf(TextView baseUrl);

} // namespace tovrik::services
