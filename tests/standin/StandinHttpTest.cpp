// The stand-in executable over real HTTP on 127.0.0.1, with the request shapes the program sends.

#include "Base64.h"
#include "Md5.h"
#include "StandinProcess.h"
#include "TestSupport.h"
#include "TextStripRenderer.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <leptonica/allheaders.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

namespace tovrik::standin {
namespace {

using test::CharacterAccuracy;
using test::JsonValue;
using test::StandinProcess;
using test::UrlEncode;

const std::vector<std::string> kEnglish = {"The quick brown fox jumps over the lazy dog.",
                                           "Please check your network connection and try again.",
                                           "Version 3.14 was released on March 5th, 2024."};
// Six lines: with about a hundred characters one misread character costs 1%.
const std::vector<std::string> kChinese = {
    "今天天气很好，我们一起去公园散步。", "文字识别服务在本机上运行，速度很快。", "春天来了，花园里开满了美丽的花朵。",
    "请检查您的网络连接是否正常。",       "他每天早上七点起床，然后去学校上课。", "学习一门新的语言需要时间和耐心。"};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::string Render(const std::vector<std::string>& lines, int pixelSize, StripFormat format) {
    StripSpec layout;
    layout.lines = lines;
    layout.pixelSize = pixelSize;
    layout.margin = pixelSize / 2;
    layout.height = static_cast<int>(lines.size()) * pixelSize * 3 / 2 + pixelSize;
    return TextStripRenderer().Render(layout, format);
}

// Two pictures next to each other, on white: text in columns.
std::string SideBySide(const std::string& leftPng, const std::string& rightPng) {
    Pix* left = pixReadMem(reinterpret_cast<const l_uint8*>(leftPng.data()), leftPng.size());
    Pix* right = pixReadMem(reinterpret_cast<const l_uint8*>(rightPng.data()), rightPng.size());
    const int width = pixGetWidth(left) + pixGetWidth(right);
    Pix* both = pixCreate(width, std::max(pixGetHeight(left), pixGetHeight(right)), 8);
    pixSetAll(both);
    pixRasterop(both, 0, 0, pixGetWidth(left), pixGetHeight(left), PIX_SRC, left, 0, 0);
    pixRasterop(both, pixGetWidth(left), 0, pixGetWidth(right), pixGetHeight(right), PIX_SRC, right, 0, 0);
    l_uint8* data = nullptr;
    size_t size = 0;
    pixWriteMemPng(&data, &size, both, 0.0F);
    std::string out(reinterpret_cast<const char*>(data), size);
    lept_free(data);
    for (Pix* pix : {left, right, both}) {
        pixDestroy(&pix);
    }
    return out;
}

std::string PngOf(Pix* pix) {
    l_uint8* data = nullptr;
    size_t size = 0;
    pixWriteMemPng(&data, &size, pix, 0.0F);
    std::string out(reinterpret_cast<const char*>(data), size);
    lept_free(data);
    return out;
}

// The picture inside a window's dark edge on the left, top and bottom, as a selection dragged a
// little too wide takes it in.
std::string Framed(const std::string& png) {
    Pix* pix = pixReadMem(reinterpret_cast<const l_uint8*>(png.data()), png.size());
    Pix* framed = pixAddBorderGeneral(pix, 10, 0, 10, 8, 0);
    std::string out = PngOf(framed);
    pixDestroy(&framed);
    pixDestroy(&pix);
    return out;
}

void FillBox(Pix* pix, int x, int y, int w, int h, int value) {
    Box* box = boxCreate(x, y, w, h);
    pixSetInRectArbitrary(pix, box, static_cast<l_uint32>(value));
    boxDestroy(&box);
}

// A message box: its icon beside the first two lines of the message, over twice as high as
// them, and a framed button under them.
std::string Dialog(const std::string& messagePng, const std::string& buttonPng) {
    Pix* message = pixReadMem(reinterpret_cast<const l_uint8*>(messagePng.data()), messagePng.size());
    Pix* button = pixReadMem(reinterpret_cast<const l_uint8*>(buttonPng.data()), buttonPng.size());
    const int messageWidth = pixGetWidth(message), messageHeight = pixGetHeight(message);
    const int buttonWidth = pixGetWidth(button), buttonHeight = pixGetHeight(button);
    Pix* dialog = pixCreate(70 + std::max(messageWidth, buttonWidth + 40), messageHeight + buttonHeight + 40, 8);
    pixSetAll(dialog);
    FillBox(dialog, 12, 6, 42, 42, 70); // the icon, with its "!" in white
    FillBox(dialog, 30, 12, 6, 20, 255);
    FillBox(dialog, 30, 37, 6, 6, 255);
    pixRasterop(dialog, 70, 0, messageWidth, messageHeight, PIX_SRC, message, 0, 0);
    const int left = 70, top = messageHeight + 10, width = buttonWidth + 24, height = buttonHeight + 8;
    pixRasterop(dialog, left + 12, top + 4, buttonWidth, buttonHeight, PIX_SRC, button, 0, 0);
    FillBox(dialog, left, top, width, 1, 90);
    FillBox(dialog, left, top + height - 1, width, 1, 90);
    FillBox(dialog, left, top, 1, height, 90);
    FillBox(dialog, left + width - 1, top, 1, height, 90);
    std::string out = PngOf(dialog);
    for (Pix* pix : {message, button, dialog}) {
        pixDestroy(&pix);
    }
    return out;
}

// A window as a window manager frames it: a title bar of white text on a mid blue-gray with the
// window's icon at its left end and three buttons at its right end, over the window's body: a
// check box (its box and its mark) before the label and, under it, a button whose face is a gray
// of its own (`face`). A dark theme's window (`dark`) is the body inverted under the same bar:
// its button face #b5b5b5 becomes #4a4a4a.
std::string TitledWindow(const std::string& titlePng, const std::string& labelPng, const std::string& buttonPng,
                         int face, bool dark) {
    Pix* title = pixReadMem(reinterpret_cast<const l_uint8*>(titlePng.data()), titlePng.size());
    Pix* label = pixReadMem(reinterpret_cast<const l_uint8*>(labelPng.data()), labelPng.size());
    Pix* button = pixReadMem(reinterpret_cast<const l_uint8*>(buttonPng.data()), buttonPng.size());
    const int width = 480, barHeight = 22;
    const int labelTop = barHeight + 20, buttonTop = labelTop + pixGetHeight(label) + 16;
    Pix* window = pixCreate(width, buttonTop + pixGetHeight(button) + 30, 8);
    pixSetAll(window);
    FillBox(window, 0, 0, width, barHeight, 150);
    // The title: its dark ink made white, its white made the bar, centred.
    const int titleWidth = std::min(pixGetWidth(title), width - 120),
              titleHeight = std::min(pixGetHeight(title), barHeight);
    for (int y = 0; y < titleHeight; ++y) {
        for (int x = 0; x < titleWidth; ++x) {
            l_uint32 ink = 255;
            pixGetPixel(title, x, y, &ink);
            pixSetPixel(window, (width - titleWidth) / 2 + x, y, 150 + (255 - 150) * (255 - ink) / 255);
        }
    }
    FillBox(window, 4, 4, 14, 14, 90); // the window's icon
    for (int k = 0; k < 3; ++k) {      // its buttons
        FillBox(window, width - 60 + 18 * k, 5, 13, 13, 60);
        FillBox(window, width - 59 + 18 * k, 6, 11, 11, 235);
        FillBox(window, width - 57 + 18 * k, 13, 7, 2, 60);
    }
    FillBox(window, 20, labelTop + 4, 14, 14, 100); // the check box with its mark
    FillBox(window, 21, labelTop + 5, 12, 12, 255);
    for (int k = 0; k < 8; ++k) {
        FillBox(window, 23 + k, labelTop + 8 + (k < 3 ? k : 5 - (k - 3)), 2, 2, 20);
    }
    pixRasterop(window, 46, labelTop, pixGetWidth(label), pixGetHeight(label), PIX_SRC, label, 0, 0);
    const int left = 40, faceWidth = pixGetWidth(button) + 24, faceHeight = pixGetHeight(button) + 8;
    FillBox(window, left, buttonTop, faceWidth, faceHeight, 90);
    FillBox(window, left + 1, buttonTop + 1, faceWidth - 2, faceHeight - 2, face);
    for (int y = 0; y < pixGetHeight(button); ++y) {
        for (int x = 0; x < pixGetWidth(button); ++x) {
            l_uint32 ink = 255;
            pixGetPixel(button, x, y, &ink);
            pixSetPixel(window, left + 12 + x, buttonTop + 4 + y, face * ink / 255);
        }
    }
    if (dark) {
        Box* body = boxCreate(0, barHeight, width, pixGetHeight(window) - barHeight);
        Pix* inverted = pixClipRectangle(window, body, nullptr);
        pixInvert(inverted, inverted);
        pixRasterop(window, 0, barHeight, width, pixGetHeight(inverted), PIX_SRC, inverted, 0, 0);
        pixDestroy(&inverted);
        boxDestroy(&body);
    }
    std::string out = PngOf(window);
    for (Pix* pix : {title, label, button, window}) {
        pixDestroy(&pix);
    }
    return out;
}

// Light text on a dark background, as a dark theme shows it.
std::string Inverted(const std::string& png) {
    Pix* pix = pixReadMem(reinterpret_cast<const l_uint8*>(png.data()), png.size());
    pixInvert(pix, pix);
    l_uint8* data = nullptr;
    size_t size = 0;
    pixWriteMemPng(&data, &size, pix, 0.0F);
    std::string out(reinterpret_cast<const char*>(data), size);
    lept_free(data);
    pixDestroy(&pix);
    return out;
}

class StandinHttpTest : public testing::Test {
protected:
    static constexpr size_t kMaxBody = 4 * 1024 * 1024;

    static void SetUpTestSuite() {
        s_standin = std::make_unique<StandinProcess>(std::vector<std::string>{"--max-body", std::to_string(kMaxBody)});
    }
    static void TearDownTestSuite() { s_standin.reset(); }

    void SetUp() override { ASSERT_TRUE(s_standin->IsListening()) << "the stand-in did not start"; }

    static httplib::Client Client(const StandinProcess& standin = *s_standin) {
        httplib::Client client("127.0.0.1", standin.Port());
        client.set_read_timeout(60, 0);
        return client;
    }

    static std::string Token(const StandinProcess& standin = *s_standin) {
        auto reply = Client(standin).Post("/oauth/2.0/token",
                                          std::string("grant_type=client_credentials&client_id=") +
                                              StandinProcess::kApiKey + "&client_secret=" + StandinProcess::kSecretKey,
                                          "application/x-www-form-urlencoded");
        const auto json = reply ? JsonValue::Parse(reply->body) : std::nullopt;
        return json && json->Has("access_token") ? json->Find("access_token")->text : std::string();
    }

    // The body as the program builds it: Base64, then every "+", "/" and "=" percent-encoded.
    static JsonValue Ocr(const std::string& path, const std::string& token, const std::string& body,
                         const StandinProcess& standin = *s_standin) {
        auto reply = Client(standin).Post(path + "?access_token=" + token, body, "application/x-www-form-urlencoded");
        EXPECT_TRUE(reply) << "no reply";
        if (!reply) {
            return {};
        }
        EXPECT_EQ(reply->status, 200);
        auto json = JsonValue::Parse(reply->body);
        EXPECT_TRUE(json.has_value()) << reply->body;
        return json.value_or(JsonValue{});
    }

    static std::string Lines(const JsonValue& reply) {
        const JsonValue* results = reply.Find("words_result");
        std::string text;
        if (results != nullptr) {
            for (const JsonValue& item : results->items) {
                text += (item.Has("words") ? item.Find("words")->text : std::string("<none>")) + "\n";
            }
        }
        return text;
    }

    static std::string ErrorCode(const JsonValue& reply) {
        const JsonValue* code = reply.Find("error_code");
        return code == nullptr ? "none" : code->text;
    }

    static inline std::unique_ptr<StandinProcess> s_standin;
};

TEST_F(StandinHttpTest, TokenGrantedForTheKeysAndRefusedOtherwise) {
    EXPECT_FALSE(Token().empty());
    auto refused = Client().Post("/oauth/2.0/token",
                                 std::string("grant_type=client_credentials&client_id=") + StandinProcess::kApiKey +
                                     "&client_secret=wrong",
                                 "application/x-www-form-urlencoded");
    ASSERT_TRUE(refused);
    const auto json = JsonValue::Parse(refused->body);
    ASSERT_TRUE(json.has_value()) << refused->body;
    EXPECT_FALSE(json->Has("access_token"));
    EXPECT_TRUE(json->Has("error"));
    // The grant may come in the query as well.
    auto byQuery = Client().Post(std::string("/oauth/2.0/token?grant_type=client_credentials&client_id=") +
                                     StandinProcess::kApiKey + "&client_secret=" + StandinProcess::kSecretKey,
                                 "", "application/x-www-form-urlencoded");
    ASSERT_TRUE(byQuery);
    EXPECT_NE(byQuery->body.find("\"access_token\""), std::string::npos);
}

TEST_F(StandinHttpTest, RecognisesEnglishStripSentAsJpeg) {
    const std::string token = Token();
    const std::string jpeg = Render(kEnglish, 20, StripFormat::Jpeg);
    const JsonValue reply = Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(jpeg)));
    EXPECT_EQ(ErrorCode(reply), "none");
    const std::string text = Lines(reply);
    EXPECT_GE(CharacterAccuracy(Joined(kEnglish), text), 0.98) << text;
    ASSERT_TRUE(reply.Has("words_result_num"));
    EXPECT_EQ(reply.Find("words_result_num")->number, static_cast<double>(reply.Find("words_result")->items.size()));
    EXPECT_TRUE(reply.Has("log_id"));
}

TEST_F(StandinHttpTest, RecognisesChineseStripSentAsDataUrl) {
    const std::string token = Token();
    const std::string png = Render(kChinese, 22, StripFormat::Png);
    const JsonValue reply =
        Ocr("/rest/2.0/ocr/v1/general", token, "image=data%3Aimage%2Fjpeg%3Bbase64%2C" + UrlEncode(Base64Encode(png)));
    EXPECT_EQ(ErrorCode(reply), "none");
    const std::string text = Lines(reply);
    EXPECT_GE(CharacterAccuracy(Joined(kChinese), text), 0.98) << text;
    const JsonValue* first =
        reply.Find("words_result")->items.empty() ? nullptr : &reply.Find("words_result")->items[0];
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Has("location"));
    EXPECT_GT(first->Find("location")->Find("width")->number, 100);
}

TEST_F(StandinHttpTest, RecognisesSmallDarkAndMixedText) {
    const std::string token = Token();
    const std::string small = Render(kEnglish, 12, StripFormat::Png);
    const std::string smallText =
        Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(small))));
    EXPECT_GE(CharacterAccuracy(Joined(kEnglish), smallText), 0.98) << smallText;

    const std::string dark = Inverted(Render(kChinese, 22, StripFormat::Png));
    const std::string darkText =
        Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(dark))));
    EXPECT_GE(CharacterAccuracy(Joined(kChinese), darkText), 0.98) << darkText;

    const std::vector<std::string> mixed = {kEnglish[0], kChinese[1], kEnglish[1]};
    const std::string mixedText = Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token,
                                            "image=" + UrlEncode(Base64Encode(Render(mixed, 20, StripFormat::Png)))));
    EXPECT_GE(CharacterAccuracy(Joined(mixed), mixedText), 0.95) << mixedText;
}

TEST_F(StandinHttpTest, RecognisesShortLinesSmallChineseAndColumns) {
    const std::string token = Token();
    auto read = [&](const std::string& png) {
        return Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(png))));
    };
    EXPECT_EQ(read(Render({"Save"}, 20, StripFormat::Png)), "Save\n");
    EXPECT_EQ(read(Framed(Render({"Hello from the window"}, 32, StripFormat::Png))), "Hello from the window\n");
    EXPECT_EQ(read(Render({"取消操作"}, 20, StripFormat::Png)), "取消操作\n");

    const std::string small = read(Render(kChinese, 13, StripFormat::Png));
    EXPECT_GE(CharacterAccuracy(Joined(kChinese), small), 0.98) << small;

    // The layout takes text side by side as one line; the columns are read apart, English on the
    // left by the Latin model and Chinese on the right by the Chinese one.
    StripSpec column;
    column.width = 400;
    column.height = 110;
    column.pixelSize = 20;
    column.lines = {"Open the file menu", "Choose a folder", "Press the Save key"};
    const std::string left = TextStripRenderer().Render(column, StripFormat::Png);
    column.lines = {"今天天气很好", "我们一起去公园", "春天来了"};
    const std::string right = TextStripRenderer().Render(column, StripFormat::Png);
    const std::string columns = read(SideBySide(left, right));
    EXPECT_GE(
        CharacterAccuracy(
            "Open the file menu 今天天气很好\nChoose a folder 我们一起去公园\nPress the Save key 春天来了\n", columns),
        0.95)
        << columns;
}

TEST_F(StandinHttpTest, ReadsTheMessageBesideADialogsIconAndTheButtonInItsFrame) {
    const std::string token = Token();
    auto read = [&](const std::string& png) {
        return Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(png))));
    };
    const std::string english =
        read(Dialog(Render({"Remove the selected files", "from the archive now?"}, 16, StripFormat::Png),
                    Render({"Cancel"}, 16, StripFormat::Png)));
    EXPECT_GE(CharacterAccuracy("Remove the selected files\nfrom the archive now?\nCancel\n", english), 0.95)
        << english;
    const std::string chinese = read(Dialog(Render({"确定要删除这些文件吗", "删除后无法恢复"}, 16, StripFormat::Png),
                                            Render({"取消"}, 16, StripFormat::Png)));
    EXPECT_GE(CharacterAccuracy("确定要删除这些文件吗\n删除后无法恢复\n取消\n", chinese), 0.95) << chinese;
}

TEST_F(StandinHttpTest, ReadsATitleBarACheckBoxsLabelAndADarkThemesButton) {
    const std::string token = Token();
    auto read = [&](const std::string& png) {
        return Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(png))));
    };
    const std::string title = Render({"Move files"}, 12, StripFormat::Png);
    const std::string label = Render({"Keep backups"}, 16, StripFormat::Png);
    const std::string light = read(TitledWindow(title, label, Render({"Cancel"}, 16, StripFormat::Png), 255, false));
    EXPECT_GE(CharacterAccuracy("Move files\nKeep backups\nCancel\n", light), 0.95) << light;
    const std::string dark =
        read(TitledWindow(Render({"密码"}, 12, StripFormat::Png), Render({"锁定帐户"}, 16, StripFormat::Png),
                          Render({"确定"}, 16, StripFormat::Png), 181, true));
    EXPECT_GE(CharacterAccuracy("密码\n锁定帐户\n确定\n", dark), 0.95) << dark;
}

// Screens of real programs (xterm, GTK and Qt dialogs under openbox), as bench/screens renders them.
std::string Screen(const std::string& name) {
    std::ifstream file(std::string(TOVRIK_TEST_SCREENS) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST_F(StandinHttpTest, ReadsScreensOfRealProgramsToTheirEdges) {
    const std::string token = Token();
    auto read = [&](const std::string& name) {
        return SplitLines(
            Lines(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=" + UrlEncode(Base64Encode(Screen(name))))));
    };
    // A dark terminal at 9 pt: the layout leaves out the last letter of some lines ("rules o").
    const std::vector<std::string> terminal = read("term-en-dark-9.png");
    ASSERT_EQ(terminal.size(), 8U);
    EXPECT_EQ(terminal[0], "This manual page documents the GNU version of find.");
    EXPECT_EQ(terminal[3], "from left to right, according to the rules of");
    EXPECT_EQ(terminal[6], "operations, true for or), at which point find moves on");
    // A 10 px title over a dialog at 150% ("授取文件" at its own size), two buttons apart.
    const std::vector<std::string> question = read("question-zh-light-150.png");
    ASSERT_EQ(question.size(), 4U);
    EXPECT_EQ(question[0], "提取文件");
    EXPECT_EQ(question[3], "取消 提取");
    // A Qt dialog at 200%: a check box's mark ("尽扩展正则"), a button's edge after the buttons.
    const std::vector<std::string> options = read("qt-zh-light-200.png");
    ASSERT_EQ(options.size(), 7U);
    EXPECT_EQ(options[4], "扩展正则");
    EXPECT_EQ(options[5], "固定字符串");
    EXPECT_EQ(options[6], "搜索 取消");
    // A dark Qt dialog: the edge between its two buttons read with them ("we) a").
    const std::vector<std::string> dark = read("qt-zh-dark-150.png");
    ASSERT_EQ(dark.size(), 8U);
    EXPECT_EQ(dark[7], "确定 取消");
    // Numbers and Latin letters within Chinese text in DejaVu Sans Mono, whose dotted zero the
    // Chinese model reads as 6 ("16K", "1624", "K、M、6、T").
    const std::vector<std::string> sizes = read("term-zh-light-12.png");
    ASSERT_EQ(sizes.size(), 8U);
    EXPECT_NE(sizes[3].find("（例如：10K 指"), std::string::npos) << sizes[3];
    EXPECT_NE(sizes[4].find("10*1024"), std::string::npos) << sizes[4];
    EXPECT_NE(sizes[4].find("K、M、G、T、P、E、Z、Y"), std::string::npos) << sizes[4];
    EXPECT_NE(sizes[4].find("1024的"), std::string::npos) << sizes[4];
    // Quoted marks between Chinese characters in a terminal, which the Chinese model read as
    // "以，（1，）或：这些".
    const std::vector<std::string> marks = read("term-zh-light-14.png");
    ASSERT_EQ(marks.size(), 2U);
    EXPECT_EQ(marks[0], "第一个以 '-' , '(' , ')' , ',' 或 '!' 这些字符起始的参");
}

TEST_F(StandinHttpTest, BlankPictureGivesNoLines) {
    const JsonValue reply = Ocr("/rest/2.0/ocr/v1/general_basic", Token(),
                                "image=" + UrlEncode(Base64Encode(Render({}, 20, StripFormat::Png))));
    EXPECT_EQ(ErrorCode(reply), "none");
    ASSERT_TRUE(reply.Has("words_result"));
    EXPECT_TRUE(reply.Find("words_result")->items.empty());
    EXPECT_EQ(reply.Find("words_result_num")->number, 0);
}

TEST_F(StandinHttpTest, InvalidTokenAndBadPicturesGiveErrorCodes) {
    const std::string picture = "image=" + UrlEncode(Base64Encode(Render({"abc"}, 20, StripFormat::Png)));
    const JsonValue badToken = Ocr("/rest/2.0/ocr/v1/general", "24.nonsense", picture);
    EXPECT_EQ(ErrorCode(badToken), "110");
    EXPECT_EQ(badToken.Find("error_code")->kind, JsonValue::Kind::Number);
    EXPECT_TRUE(badToken.Has("error_msg"));
    EXPECT_FALSE(badToken.Has("words_result"));
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", "", picture)), "110");

    const std::string token = Token();
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, "picture=abc")), "216101");
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=")), "216200");
    // An unescaped "+" turns into a space in a form body: the Base64 text is then broken.
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, "image=iVBO+w0K")), "216201");
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token,
                            "image=" + UrlEncode(Base64Encode("this is not a picture at all")))),
              "216201");
}

TEST_F(StandinHttpTest, TokenExpiresAfterItsLifetime) {
    const StandinProcess shortLived({"--token-lifetime", "1"});
    ASSERT_TRUE(shortLived.IsListening());
    const std::string token = Token(shortLived);
    ASSERT_FALSE(token.empty());
    const std::string picture = "image=" + UrlEncode(Base64Encode(Render({"Hello"}, 20, StripFormat::Png)));
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, picture, shortLived)), "none");
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, picture, shortLived)), "111");
}

// The stand-in keeps no table of tokens: one started again with the same secret file and keys
// takes the tokens of the one before; one with other keys or another secret refuses them as
// unknown (110).
TEST_F(StandinHttpTest, TokensStayValidAcrossARestart) {
    char folder[] = "/tmp/tovrik-secret-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string secretFile = std::string(folder) + "/data/token-secret";
    const std::string otherSecretFile = std::string(folder) + "/other-secret";
    std::string token;
    {
        const StandinProcess first({"--token-secret-file", secretFile});
        ASSERT_TRUE(first.IsListening());
        token = Token(first);
    }
    ASSERT_FALSE(token.empty());
    struct stat info {};
    ASSERT_EQ(stat(secretFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const std::string picture = "image=" + UrlEncode(Base64Encode(Render({"Hello"}, 20, StripFormat::Png)));
    const StandinProcess again({"--token-secret-file", secretFile});
    ASSERT_TRUE(again.IsListening());
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, picture, again)), "none");
    const StandinProcess otherKeys({"--token-secret-file", secretFile, "--api-key", "another-api-key"});
    ASSERT_TRUE(otherKeys.IsListening());
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, picture, otherKeys)), "110");
    const StandinProcess otherSecret({"--token-secret-file", otherSecretFile});
    ASSERT_TRUE(otherSecret.IsListening());
    EXPECT_EQ(ErrorCode(Ocr("/rest/2.0/ocr/v1/general_basic", token, picture, otherSecret)), "110");
    std::filesystem::remove_all(folder);
}

TEST_F(StandinHttpTest, BodiesOverTheLimitAreRefusedAndUnknownPathsAnswered) {
    auto tooLarge = Client().Post("/rest/2.0/ocr/v1/general_basic?access_token=" + Token(),
                                  "image=" + std::string(kMaxBody + 1, 'A'), "application/x-www-form-urlencoded");
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->status, 413);
    auto unknown = Client().Post("/rest/2.0/ocr/v1/accurate_basic", "image=", "application/x-www-form-urlencoded");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
    const auto json = JsonValue::Parse(unknown->body);
    ASSERT_TRUE(json.has_value());
    EXPECT_TRUE(json->Has("error_code"));
}

TEST_F(StandinHttpTest, ConcurrentRecognitionsAllSucceed) {
    const std::string token = Token();
    const std::string body = "image=" + UrlEncode(Base64Encode(Render(kEnglish, 20, StripFormat::Jpeg)));
    std::vector<std::future<std::string>> results;
    for (int i = 0; i < 3; ++i) {
        results.push_back(std::async(std::launch::async, [&] {
            auto reply = Client().Post("/rest/2.0/ocr/v1/general_basic?access_token=" + token, body,
                                       "application/x-www-form-urlencoded");
            const auto json = reply ? JsonValue::Parse(reply->body) : std::nullopt;
            return json ? Lines(*json) : std::string();
        }));
    }
    for (auto& result : results) {
        const std::string text = result.get();
        EXPECT_GE(CharacterAccuracy(Joined(kEnglish), text), 0.98) << text;
    }
}

TEST_F(StandinHttpTest, SignedTranslationChecksTheSign) {
    const std::string q = "今天天气很好\n你好";
    const std::string salt = "1700000000";
    auto body = [&](const std::string& sign) {
        return "q=" + UrlEncode(q) + "&from=zh&to=en&appid=" + StandinProcess::kAppId + "&salt=" + salt +
               "&sign=" + sign;
    };
    auto good = Client().Post("/api/trans/vip/translate",
                              body(Md5Hex(StandinProcess::kAppId + q + salt + StandinProcess::kAppKey)),
                              "application/x-www-form-urlencoded");
    ASSERT_TRUE(good);
    const auto json = JsonValue::Parse(good->body);
    ASSERT_TRUE(json.has_value()) << good->body;
    const JsonValue* results = json->Find("trans_result");
    ASSERT_NE(results, nullptr) << good->body;
    ASSERT_EQ(results->items.size(), 2U);
    EXPECT_EQ(results->items[0].Find("src")->text, "今天天气很好");
    EXPECT_EQ(results->items[0].Find("dst")->text, "Today weather very good");
    EXPECT_EQ(results->items[1].Find("dst")->text, "Hello");

    auto bad = Client().Post("/api/trans/vip/translate", body(Md5Hex("tampered")), "application/x-www-form-urlencoded");
    ASSERT_TRUE(bad);
    const auto error = JsonValue::Parse(bad->body);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->Find("error_code")->text, "54001");
    EXPECT_FALSE(error->Has("trans_result"));
}

TEST_F(StandinHttpTest, PlainTextTranslationEndsWithTheResultLine) {
    auto reply = Client().Get("/translate?i=" + UrlEncode("今天天气很好") +
                              "&type=AUTO&doctype=text&xmlVersion=1.1&keyfrom=360se");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    const size_t marker = reply->body.find("result=");
    ASSERT_NE(marker, std::string::npos) << reply->body;
    EXPECT_EQ(reply->body.substr(marker), "result=Today weather very good");
}

TEST_F(StandinHttpTest, SpeechIsMp3ForChineseEnglishAndEmptyText) {
    for (const std::string& query : {"lan=zh&text=" + UrlEncode("今天天气很好"),
                                     "lan=en&text=" + UrlEncode("Hello world"), std::string("lan=en&text=")}) {
        auto reply = Client().Get("/gettts?" + query + "&spd=5&source=web");
        ASSERT_TRUE(reply) << query;
        EXPECT_EQ(reply->status, 200) << query;
        EXPECT_EQ(reply->get_header_value("Content-Type"), "audio/mpeg");
        const std::string& mp3 = reply->body;
        ASSERT_GE(mp3.size(), 4U) << query;
        // An MPEG audio frame header: eleven set sync bits, then layer III.
        EXPECT_EQ(static_cast<unsigned char>(mp3[0]), 0xFF) << query;
        EXPECT_EQ(static_cast<unsigned char>(mp3[1]) & 0xE0, 0xE0) << query;
        EXPECT_EQ(static_cast<unsigned char>(mp3[1]) & 0x06, 0x02) << query;
    }
    auto chinese = Client().Get("/gettts?lan=zh&text=" + UrlEncode("今天天气很好") + "&spd=5&source=web");
    auto empty = Client().Get("/gettts?lan=zh&text=&spd=5&source=web");
    ASSERT_TRUE(chinese && empty);
    // Six syllables last over a second; 48 kbit/s is 6 KB a second.
    EXPECT_GT(chinese->body.size(), 6000U);
    EXPECT_LT(empty->body.size(), chinese->body.size());
}

} // namespace
} // namespace tovrik::standin
