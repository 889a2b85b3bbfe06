#include "ServiceHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tovrik::servicetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::int64_t kThirtyDays = 30LL * 24 * 3600;
constexpr TextView kKeyError = "错误的Api Key或Secret Key,请检查百度识别ApiKey设置!";

TEST(AccessToken, CachedTokenIsReusedWithoutRequestOrKeyReload) {
    ServiceHarness h;
    h.CacheToken("cached", 1000, kThirtyDays);

    EXPECT_EQ(h.service.GetAccessToken(), "cached");
    EXPECT_EQ(h.service.GetAccessToken(), "cached");

    EXPECT_TRUE(h.web.Requests().empty());
    EXPECT_EQ(h.keys.Reads(), 0);
}

TEST(AccessToken, ForceRequestsAnewAndReloadsTheKeysFromTheBoxes) {
    ServiceHarness h;
    h.CacheToken("cached", 1000, kThirtyDays);
    h.service.SetKeys("app", "tkey", "old-api", "old-secret");
    h.keys.apiKey = "new-api";
    h.keys.secretKey = "new-secret";
    h.ScriptToken("fresh");

    EXPECT_EQ(h.service.GetAccessToken(true), "fresh");

    ASSERT_EQ(h.web.Requests().size(), 1u);
    EXPECT_EQ(h.web.LastRequest().body, "grant_type=client_credentials&client_id=new-api&client_secret=new-secret");
    EXPECT_EQ(h.keys.Reads(), 2);
}

TEST(AccessToken, RenewedWhenOneMillisecondOrLessRemains) {
    for (const std::int64_t remainingMs : {1, 0, -5000}) {
        ServiceHarness h;
        h.service.SetKeys("", "", "api", "secret");
        h.CacheToken("old", 10'000 - remainingMs, 10); // deadline = now + remainingMs
        h.ScriptToken("new");
        EXPECT_EQ(h.service.GetAccessToken(), "new") << remainingMs;
        EXPECT_EQ(h.web.Requests().size(), 1u) << remainingMs;
    }
}

TEST(AccessToken, KeptWhileTwoMillisecondsRemain) {
    ServiceHarness h;
    h.CacheToken("old", 10'000 - 2, 10);
    EXPECT_EQ(h.service.GetAccessToken(), "old");
    EXPECT_TRUE(h.web.Requests().empty());
}

TEST(AccessToken, KeysAlreadySetAreNotReloaded) {
    ServiceHarness h;
    h.service.SetKeys("app", "tkey", "api", "secret");
    h.keys.apiKey = "box-api";
    h.ScriptToken();

    EXPECT_EQ(h.service.GetAccessToken(), "tok-1");

    EXPECT_EQ(h.keys.Reads(), 0);
    EXPECT_THAT(h.web.LastRequest().body, HasSubstr("client_id=api&client_secret=secret"));
}

TEST(AccessToken, MissingKeysAreLoadedFromTheBoxes) {
    ServiceHarness h;
    h.keys.apiKey = "box-api";
    h.keys.secretKey = "box-secret";
    h.ScriptToken();

    EXPECT_EQ(h.service.GetAccessToken(), "tok-1");

    EXPECT_EQ(h.web.LastRequest().body, "grant_type=client_credentials&client_id=box-api&client_secret=box-secret");
}

TEST(AccessToken, RequestShapeAndStoredCache) {
    ServiceHarness h;
    h.settings.WriteItem("Service", "OcrBaseUrl", "http://127.0.0.1:4321/");
    h.service.SetKeys("", "", "api", "secret");
    h.ScriptToken("24.abc");

    EXPECT_EQ(h.service.GetAccessToken(), "24.abc");

    const net::HttpRequest& request = h.web.LastRequest();
    EXPECT_EQ(request.verb, "POST");
    EXPECT_EQ(AddressOf(request), "http://127.0.0.1:4321/oauth/2.0/token");
    EXPECT_THAT(request.headerBlock, HasSubstr("User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 "
                                               "(KHTML, like Gecko) Chrome/69.0.3497.100 Safari/537.36"));
    EXPECT_THAT(request.headerBlock, HasSubstr("Content-Type: application/x-www-form-urlencoded"));
    EXPECT_EQ(h.settings.ReadItem("OCR", "AccessToken"), "24.abc");
    EXPECT_EQ(h.settings.ReadItem("OCR", "ExpiresTime"), "2592000");
    EXPECT_EQ(h.settings.ReadItem("OCR", "GetTime"), h.Now13());
    EXPECT_TRUE(h.keys.Errors().empty());
}

TEST(AccessToken, DefaultHostIsThePublicService) {
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    static_cast<void>(h.service.GetAccessToken());
    EXPECT_EQ(AddressOf(h.web.LastRequest()), "https://aip.baidubce.com/oauth/2.0/token");
}

TEST(AccessToken, RefusedKeysShowTheKeyErrorAndLeaveTheCache) {
    ServiceHarness h;
    h.CacheToken("stale", 100'000, 1);
    const Text getTime = h.settings.ReadItem("OCR", "GetTime");
    h.service.SetKeys("", "", "bad", "bad");
    h.web.Script(Reply(R"({"error":"invalid_client","error_description":"unknown client id"})"));

    EXPECT_EQ(h.service.GetAccessToken(), "");

    EXPECT_THAT(h.keys.Errors(), ElementsAre(Text(kKeyError)));
    EXPECT_EQ(h.settings.ReadItem("OCR", "AccessToken"), "stale");
    EXPECT_EQ(h.settings.ReadItem("OCR", "GetTime"), getTime);
    EXPECT_EQ(h.settings.ReadItem("OCR", "ExpiresTime"), "1");
}

TEST(AccessToken, EmptyTokenInAValidReplyIsAKeyError) {
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    h.web.Script(Reply(R"({"access_token":"","expires_in":2592000})"));
    EXPECT_EQ(h.service.GetAccessToken(), "");
    EXPECT_EQ(h.keys.Errors().size(), 1u);
    EXPECT_EQ(h.settings.ReadItem("OCR", "AccessToken"), "");
}

TEST(AccessToken, TransportFailureIsSilentAndKeepsTheCache) {
    ServiceHarness h;
    h.CacheToken("stale", 100'000, 1);
    h.service.SetKeys("", "", "api", "secret");
    h.web.FailToOpen();

    EXPECT_EQ(h.service.GetAccessToken(), "");

    EXPECT_TRUE(h.keys.Errors().empty());
    EXPECT_EQ(h.settings.ReadItem("OCR", "AccessToken"), "stale");
}

TEST(AccessToken, MissingLifetimeMakesTheNextCallRenew) {
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    h.web.Script(Reply(R"({"access_token":"short"})"));
    h.ScriptToken("second");

    EXPECT_EQ(h.service.GetAccessToken(), "short");
    EXPECT_EQ(h.settings.ReadItem("OCR", "ExpiresTime"), "");
    EXPECT_EQ(h.service.GetAccessToken(), "second");
    EXPECT_EQ(h.web.Requests().size(), 2u);
}

TEST(AccessTokenOwner, StoredWithTheTokenAndMatchedBeforeTheCacheIsUsed) {
    ServiceHarness h;
    h.settings.WriteItem("Service", "OcrBaseUrl", "http://127.0.0.1:4321/");
    h.service.SetKeys("", "", "api", "secret");
    h.ScriptToken("first");
    EXPECT_EQ(h.service.GetAccessToken(), "first");
    EXPECT_EQ(h.settings.ReadItem("OCR", "TokenBaseUrl"), "http://127.0.0.1:4321");
    EXPECT_EQ(h.settings.ReadItem("OCR", "TokenApiKey"), "api");

    // The same address written another way is the same owner.
    h.settings.WriteItem("Service", "OcrBaseUrl", "HTTP://127.0.0.1:4321");
    EXPECT_EQ(h.service.GetAccessToken(), "first");
    EXPECT_EQ(h.web.Requests().size(), 1u);
}

TEST(AccessTokenOwner, TokenOfAnotherOcrAddressIsNotUsed) {
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    h.CacheToken("elsewhere", 1000, kThirtyDays);
    h.CacheOwner("http://127.0.0.1:8780", "api");
    h.ScriptToken("here");

    EXPECT_EQ(h.service.GetAccessToken(), "here");

    ASSERT_EQ(h.web.Requests().size(), 1u);
    EXPECT_EQ(AddressOf(h.web.LastRequest()), "https://aip.baidubce.com/oauth/2.0/token");
    EXPECT_EQ(h.settings.ReadItem("OCR", "AccessToken"), "here");
    EXPECT_EQ(h.settings.ReadItem("OCR", "TokenBaseUrl"), "https://aip.baidubce.com");
}

TEST(AccessTokenOwner, TokenOfAnotherApiKeyIsNotUsed) {
    ServiceHarness h;
    h.service.SetKeys("", "", "new-api", "secret");
    h.CacheToken("old-key", 1000, kThirtyDays);
    h.CacheOwner("https://aip.baidubce.com", "old-api");
    h.ScriptToken("new-key");

    EXPECT_EQ(h.service.GetAccessToken(), "new-key");
    EXPECT_EQ(h.settings.ReadItem("OCR", "TokenApiKey"), "new-api");
}

TEST(AccessTokenOwner, WithoutKeysInHandTheBoxesSayWhoseTokenItIs) {
    ServiceHarness h;
    h.CacheToken("mine", 1000, kThirtyDays);
    h.CacheOwner("https://aip.baidubce.com", "box-api");
    h.keys.apiKey = "box-api";
    h.keys.secretKey = "box-secret";

    EXPECT_EQ(h.service.GetAccessToken(), "mine");
    EXPECT_TRUE(h.web.Requests().empty());
    EXPECT_EQ(h.keys.Reads(), 2);
}

// The keys in hand came from the boxes at start-up; renewing a stale cache with them may be
// refused when the boxes hold newer ones.
TEST(AccessTokenRenewal, StaleCacheRefusedWithOldKeysIsRenewedWithTheBoxKeys) {
    ServiceHarness h;
    h.service.SetKeys("", "", "old-api", "old-secret");
    h.CacheToken("stale", 100'000, 1);
    h.keys.apiKey = "new-api";
    h.keys.secretKey = "new-secret";
    h.web.Script(Reply(R"({"error":"invalid_client","error_description":"unknown client id"})"));
    h.ScriptToken("renewed");

    EXPECT_EQ(h.service.GetAccessToken(), "renewed");

    ASSERT_EQ(h.web.Requests().size(), 2u);
    EXPECT_THAT(h.web.Requests()[1].body, HasSubstr("client_id=new-api&client_secret=new-secret"));
    EXPECT_TRUE(h.keys.Errors().empty());
    EXPECT_EQ(h.service.LastFailure(), "");
}

TEST(AccessTokenRenewal, RefusedAgainOrWithTheSameKeysIsTheKeyError) {
    for (const bool boxesDiffer : {false, true}) {
        ServiceHarness h;
        h.service.SetKeys("", "", "api", "secret");
        h.CacheToken("stale", 100'000, 1);
        h.keys.apiKey = boxesDiffer ? "other-api" : "api";
        h.keys.secretKey = "secret";
        h.web.SetFallback(Reply(R"({"error":"invalid_grant"})"));

        EXPECT_EQ(h.service.GetAccessToken(), "");

        EXPECT_EQ(h.web.Requests().size(), boxesDiffer ? 2u : 1u);
        EXPECT_THAT(h.keys.Errors(), ElementsAre(Text(kKeyError)));
        EXPECT_EQ(h.service.LastFailure(), kKeyError);
    }
}

TEST(AccessTokenRenewal, TransportFailuresNameTheHost) {
    for (const auto& [failure, expected] : std::vector<std::pair<net::HttpFailure, Text>>{
             {net::HttpFailure::TimedOut, "识别失败:127.0.0.1:9 应答超时!"},
             {net::HttpFailure::NoAnswer, "识别失败:127.0.0.1:9 没有应答!"}}) {
        ServiceHarness h;
        h.settings.WriteItem("Service", "OcrBaseUrl", "http://127.0.0.1:9");
        h.service.SetKeys("", "", "api", "secret");
        h.web.Script(Failed(failure));
        EXPECT_EQ(h.service.GetAccessToken(), "");
        EXPECT_EQ(h.service.LastFailure(), expected);
        EXPECT_TRUE(h.keys.Errors().empty());
    }
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    h.web.Script(Reply("<html>gateway</html>", 502));
    EXPECT_EQ(h.service.GetAccessToken(), "");
    EXPECT_EQ(h.service.LastFailure(), "识别失败:aip.baidubce.com 的应答不是JSON!");
}

TEST(AccessToken, NonNumericCacheItemsReadAsZero) {
    ServiceHarness h;
    h.service.SetKeys("", "", "api", "secret");
    h.settings.WriteItem("OCR", "AccessToken", "cached");
    h.settings.WriteItem("OCR", "GetTime", "soon");
    h.settings.WriteItem("OCR", "ExpiresTime", "forever");
    h.ScriptToken("renewed");
    EXPECT_EQ(h.service.GetAccessToken(), "renewed");
}

} // namespace
} // namespace tovrik::servicetest
