#include "TokenService.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace tovrik::standin {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class TokenServiceTest : public testing::Test {
protected:
    milliseconds m_now{1'700'000'000'000};
    TokenService::Clock m_clock = [this] { return m_now; };
    TokenService m_tokens{"id", "secret", seconds(30), "stand-in secret of the test", m_clock};

    std::string Grant(const std::string& body = "grant_type=client_credentials&client_id=id&client_secret=secret",
                      const TokenService* issuer = nullptr) {
        const Reply reply = (issuer != nullptr ? *issuer : m_tokens).Issue(FormFields::Parse(body));
        const auto json = test::JsonValue::Parse(reply.body);
        if (reply.status != 200 || !json || !json->Has("access_token")) {
            return {};
        }
        return json->Find("access_token")->text;
    }
};

TEST_F(TokenServiceTest, IssuesTokenWithLifetimeInSeconds) {
    const Reply reply =
        m_tokens.Issue(FormFields::Parse("grant_type=client_credentials&client_id=id&client_secret=secret"));
    EXPECT_EQ(reply.status, 200);
    const auto json = test::JsonValue::Parse(reply.body);
    ASSERT_TRUE(json.has_value()) << reply.body;
    ASSERT_TRUE(json->Has("access_token"));
    EXPECT_FALSE(json->Find("access_token")->text.empty());
    ASSERT_TRUE(json->Has("expires_in"));
    EXPECT_EQ(json->Find("expires_in")->kind, test::JsonValue::Kind::Number);
    EXPECT_EQ(json->Find("expires_in")->number, 30);
    EXPECT_EQ(m_tokens.Check(json->Find("access_token")->text), TokenState::Valid);
}

TEST_F(TokenServiceTest, WrongKeysOrGrantGiveAnErrorObjectWithoutToken) {
    for (const char* body :
         {"grant_type=client_credentials&client_id=id&client_secret=wrong",
          "grant_type=client_credentials&client_id=wrong&client_secret=secret",
          "grant_type=client_credentials&client_id=&client_secret=",
          "grant_type=password&client_id=id&client_secret=secret", "client_id=id&client_secret=secret"}) {
        const Reply reply = m_tokens.Issue(FormFields::Parse(body));
        const auto json = test::JsonValue::Parse(reply.body);
        ASSERT_TRUE(json.has_value()) << body;
        EXPECT_FALSE(json->Has("access_token")) << body;
        EXPECT_TRUE(json->Has("error")) << body;
        EXPECT_GE(reply.status, 400) << body;
    }
}

TEST_F(TokenServiceTest, TokenExpiresExactlyAtItsDeadline) {
    const std::string token = Grant("grant_type=client_credentials&client_id=id&client_secret=secret");
    ASSERT_FALSE(token.empty());
    m_now += seconds(30) - milliseconds(1);
    EXPECT_EQ(m_tokens.Check(token), TokenState::Valid);
    m_now += milliseconds(1);
    EXPECT_EQ(m_tokens.Check(token), TokenState::Expired);
    EXPECT_EQ(m_tokens.Check(token + "x"), TokenState::Unknown);
    EXPECT_EQ(m_tokens.Check(""), TokenState::Unknown);
}

// A restarted stand-in is a new object with the same keys and secret: what it issued before
// stays valid, in its own lifetime even when the new one is started with another.
TEST_F(TokenServiceTest, TokensOutliveTheObjectThatIssuedThem) {
    std::string token;
    {
        const TokenService before("id", "secret", seconds(30), "stand-in secret of the test", m_clock);
        token = Grant("grant_type=client_credentials&client_id=id&client_secret=secret", &before);
    }
    ASSERT_FALSE(token.empty());
    const TokenService after("id", "secret", seconds(3600), "stand-in secret of the test", m_clock);
    EXPECT_EQ(after.Check(token), TokenState::Valid);
    m_now += seconds(30);
    EXPECT_EQ(after.Check(token), TokenState::Expired);
}

TEST_F(TokenServiceTest, TokensOfOtherKeysOrAnotherSecretAreUnknown) {
    const std::string token = Grant();
    ASSERT_FALSE(token.empty());
    for (const auto& [apiKey, secretKey, secret] : {std::tuple{"other-id", "secret", "stand-in secret of the test"},
                                                    std::tuple{"id", "other-secret", "stand-in secret of the test"},
                                                    std::tuple{"id", "secret", "another stand-in's secret"}}) {
        const TokenService other(apiKey, secretKey, seconds(30), secret, m_clock);
        EXPECT_EQ(other.Check(token), TokenState::Unknown) << apiKey << " " << secretKey << " " << secret;
    }
}

// Every part is sealed: a longer lifetime, an earlier issue time or another random part written
// into a token makes it unknown, as does any other text.
TEST_F(TokenServiceTest, ChangedOrForgedTokensAreUnknown) {
    const std::string token = Grant();
    ASSERT_FALSE(token.empty());
    const size_t lifetime = token.find(".30.");
    ASSERT_NE(lifetime, std::string::npos) << token;
    std::string longer = token;
    longer.replace(lifetime, 4, ".99999.");
    EXPECT_EQ(m_tokens.Check(longer), TokenState::Unknown);
    for (size_t i = 3; i < token.size(); ++i) {
        if (token[i] == '.') {
            continue;
        }
        std::string changed = token;
        changed[i] = token[i] == '1' ? '2' : '1';
        ASSERT_EQ(m_tokens.Check(changed), TokenState::Unknown) << changed;
    }
    for (const char* forged : {"24.00000000000000000000000000000000.30.1700000000000.0", "24....", "24",
                               "24.not-issued-by-this-server", "25.x.30.1.y"}) {
        EXPECT_EQ(m_tokens.Check(forged), TokenState::Unknown) << forged;
    }
}

TEST_F(TokenServiceTest, EveryGrantGivesANewTokenAndOldOnesStayValid) {
    std::set<std::string> tokens;
    for (int i = 0; i < 20; ++i) {
        tokens.insert(Grant("grant_type=client_credentials&client_id=id&client_secret=secret"));
    }
    EXPECT_EQ(tokens.size(), 20U);
    for (const std::string& token : tokens) {
        EXPECT_EQ(m_tokens.Check(token), TokenState::Valid);
    }
}

} // namespace
} // namespace tovrik::standin
