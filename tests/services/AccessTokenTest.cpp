#include "ServiceHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
