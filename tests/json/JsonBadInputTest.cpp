// Replies that are empty, cut short, nested without end or very large: the document says no
// (or yes, for a large valid reply) and the process lives on.
#include "json/JsonDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace tovrik::json {
namespace {

constexpr TextView kReply =
    R"({"log_id":1603256842153948613,"words_result_num":2,"words_result":[{"words":"识别\u7ed3果"},{"words":"x\"y"}]})";

Text OcrReply(std::size_t minimumSize) {
    Text reply = R"({"log_id":1,"words_result":[)";
    int count = 0;
    while (reply.size() < minimumSize) {
        reply += count++ == 0 ? "" : ",";
        reply += R"({"words":"第)" + std::to_string(count) + R"(行 recognised text of a typical line"})";
    }
    return reply + "]}";
}

TEST(JsonBadInputTest, EveryTruncatedReplyIsRejected) {
    JsonDocument document;
    document.Init();
    for (std::size_t length = 0; length < kReply.size(); ++length) {
        EXPECT_FALSE(document.Load(kReply.substr(0, length))) << length;
        EXPECT_EQ(document.Count("words_result"), 0);
        EXPECT_EQ(document.GetText("words_result[0].words"), "");
    }
    ASSERT_TRUE(document.Load(kReply));
    EXPECT_EQ(document.GetText("words_result[0].words"), "识别结果");
    EXPECT_EQ(document.GetText("words_result[1].words"), "x\"y");
}

TEST(JsonBadInputTest, DeepNestingIsRejectedWithoutExhaustingTheStack) {
    const std::size_t depth = 10000;
    JsonDocument document;
    document.Init();
    EXPECT_FALSE(document.Load(std::string(depth, '[') + std::string(depth, ']')));
    Text objects;
    for (std::size_t i = 0; i < depth; ++i) {
        objects += R"({"a":)";
    }
    objects += "1" + std::string(depth, '}');
    EXPECT_FALSE(document.Load(objects));
    EXPECT_FALSE(document.Load(std::string(depth, '[')));
    // Moderate nesting is fine, and so are the queries into it.
    ASSERT_TRUE(document.Load(std::string(200, '[') + "\"deep\"" + std::string(200, ']')));
    Text path;
    for (int i = 0; i < 200; ++i) {
        path += "[0]";
    }
    EXPECT_EQ(document.GetText(path), "deep");
}

TEST(JsonBadInputTest, BinaryAndControlBytesAreRejected) {
    JsonDocument document;
    document.Init();
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131 + 7) % 256);
    }
    EXPECT_FALSE(document.Load(binary));
    EXPECT_FALSE(document.Load(std::string("{\"a\":\"\0\"}", 9)));
    EXPECT_FALSE(document.Load("{\"a\":\"line\nbreak\"}"));
}

TEST(JsonBadInputTest, ALargeReplyWithinTheLimitLoadsAndAnswers) {
    // Many similar strings: the engine's worst case for its string table.
    const Text reply = OcrReply(JsonDocument::kMaxJsonSize - 100);
    ASSERT_LE(reply.size(), JsonDocument::kMaxJsonSize);
    JsonDocument document;
    document.Init();
    ASSERT_TRUE(document.Load(reply));
    const int count = document.Count("words_result");
    EXPECT_GT(count, 50000);
    EXPECT_EQ(document.GetText("words_result[" + std::to_string(count - 1) + "].words"),
              "第" + std::to_string(count) + "行 recognised text of a typical line");
}

TEST(JsonBadInputTest, A50MegabyteReplyIsRefusedAtOnce) {
    const Text reply = OcrReply(50u * 1024 * 1024);
    JsonDocument document;
    document.Init();
    ScriptError error;
    EXPECT_FALSE(document.Load(reply, false, &error));
    EXPECT_NE(error.number, 0);
    EXPECT_FALSE(document.Exists());
    EXPECT_EQ(document.Count("words_result"), 0);
}

} // namespace
} // namespace tovrik::json
