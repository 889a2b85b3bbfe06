#include "TokenService.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace tovrik::standin {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

class TokenServiceTest : public testing::Test {
protected:
    milliseconds m_now{1'000'000};
    TokenService m_tokens{"id", "secret", seconds(30), [this] { return m_now; }};

    std::string Grant(const std::string& body) {
        const Reply reply = m_tokens.Issue(FormFields::Parse(body));
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
