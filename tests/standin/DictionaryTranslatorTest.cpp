// The stand-in's word-level translation over a small hand-made index, and over the index the
// build made from the full dictionary.

#include "DictionaryTranslator.h"
#include "ChineseSegmenter.h"
#include "DictionaryIndex.h"
#include "EnglishMorphology.h"
#include "Punctuation.h"
#include "Utf8.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

// Costs as the builder writes them: lower is commoner.
constexpr const char* kIndex = "tovrik-dictionary 1\n"
                               "Z 16\n"
                               "一\tone\t600\t-\n"
                               "三\tthree\t700\t-\n"
                               "个\tindividual\t620\tc\n"
                               "了\t\t420\t-\n"
                               "吃\teat\t700\t-\n"
                               "命\tlife\t900\t-\n"
                               "家\thome\t730\tc\n"
                               "我\tI\t520\t-\n"
                               "生命\tlife\t950\t-\n"
                               "研究\tresearch\t900\t-\n"
                               "研究生\tgraduate student\t1000\t-\n"
                               "苹果\tapple\t1000\t-\n"
                               "车站\tstation\t1100\t-\n"
                               "这\tthis\t540\t-\n"
                               "餐厅\trestaurant\t1100\t-\n"
                               "饭\tmeal\t800\t-\n"
                               "E 11\n"
                               "apple\t苹果\n"
                               "be\t是\n"
                               "child\t孩子\n"
                               "eat\t吃\n"
                               "go\t去\n"
                               "i\t我\n"
                               "not\t不\n"
                               "open\t打开\n"
                               "station\t车站\n"
                               "stop\t停\n"
                               "train station\t火车站\n";

class DictionaryTranslatorTest : public testing::Test {
protected:
    static DictionaryIndex Load() {
        std::string error;
        auto index = DictionaryIndex::Parse(kIndex, error);
        EXPECT_TRUE(index.has_value()) << error;
        return index ? std::move(*index) : *DictionaryIndex::Parse("tovrik-dictionary 1\nZ 0\nE 0\n", error);
    }
    std::string Segments(const std::string& text) const {
        std::string out;
        const std::vector<char32_t> decoded = DecodeUtf8(text);
        for (const ChineseSegment& segment : SegmentChinese(std::u32string(decoded.begin(), decoded.end()), m_index)) {
            out += (out.empty() ? "" : "/") + EncodeUtf8(segment.text) + (segment.word == nullptr ? "?" : "");
        }
        return out;
    }
    std::string Zh(const std::string& text) const { return m_translator.TranslateLine(text, Language::Chinese); }
    std::string En(const std::string& text) const { return m_translator.TranslateLine(text, Language::English); }

    DictionaryIndex m_index = Load();
    DictionaryTranslator m_translator{m_index};
};

TEST_F(DictionaryTranslatorTest, SegmentsAlongTheCheapestPath) {
    // 研究生/命 would take the longest word first; 研究/生命 costs less.
    EXPECT_EQ(Segments("研究生命"), "研究/生命");
    EXPECT_EQ(Segments("研究生"), "研究生");
    // A character the dictionary lacks stands alone, between known words.
    EXPECT_EQ(Segments("我爱苹果"), "我/爱?/苹果");
    EXPECT_EQ(Segments("鑫鑫"), "鑫?/鑫?");
    EXPECT_EQ(Segments(""), "");
}

TEST_F(DictionaryTranslatorTest, ChineseWordsBecomeTheirGlossesWithoutParticlesAndCountedMeasureWords) {
    EXPECT_EQ(Zh("我吃了三个苹果。"), "I eat three apple.");
    EXPECT_EQ(Zh("这家餐厅"), "This restaurant");
    // Not counted: the measure word keeps its meaning.
    EXPECT_EQ(Zh("我家"), "I home");
    EXPECT_EQ(Zh("3个苹果"), "3 apple");
    EXPECT_EQ(Zh("我爱苹果"), "I 爱 apple");
}

TEST_F(DictionaryTranslatorTest, KeepsNumbersAndLatinWordsAndNarrowsPunctuation) {
    EXPECT_EQ(Zh("我吃ZuDur.ini，3.5个苹果！"), "I eat ZuDur.ini, 3.5 apple!");
    EXPECT_EQ(Zh("“苹果”（饭）、吃？"), "\"Apple\" (meal), eat?");
    EXPECT_EQ(Zh("苹果：饭；吃……"), "Apple: meal; eat..");
    EXPECT_EQ(Zh("　"), "");
    EXPECT_EQ(Zh(""), "");
}

TEST_F(DictionaryTranslatorTest, EnglishMatchesPhrasesFirstAndInflectedWordsByTheirBase) {
    EXPECT_EQ(En("the train station"), "火车站");
    EXPECT_EQ(En("Train stations"), "火车站");
    EXPECT_EQ(En("a station"), "车站");
    EXPECT_EQ(En("I ate apples"), "我吃苹果");
    EXPECT_EQ(En("children went to stations"), "孩子去车站");
    EXPECT_EQ(En("stopped opening"), "停打开");
    EXPECT_EQ(En("I don't eat"), "我不吃");
    // A phrase is matched only over single spaces: punctuation between ends it.
    EXPECT_EQ(En("train, station"), "train，车站");
}

TEST_F(DictionaryTranslatorTest, EnglishKeepsUnknownWordsAndWidensPunctuation) {
    EXPECT_EQ(En("I eat Zorblax quux."), "我吃Zorblax quux。");
    EXPECT_EQ(En("\"Apple\" (eat)? 42!"), "“苹果”（吃）？42！");
    EXPECT_EQ(En("version 2.5 of ZuDur.ini"), "version 2.5 of ZuDur.ini");
    EXPECT_EQ(En(""), "");
}

TEST(EnglishMorphologyTest, FindsBaseFormsMostLikelyFirst) {
    auto has = [](const std::string& word, const std::string& base) {
        const std::vector<std::string> forms = EnglishBaseForms(word);
        return std::find(forms.begin(), forms.end(), base) != forms.end();
    };
    EXPECT_TRUE(has("cities", "city"));
    EXPECT_TRUE(has("boxes", "box"));
    EXPECT_TRUE(has("cars", "car"));
    EXPECT_TRUE(has("saved", "save"));
    EXPECT_TRUE(has("opened", "open"));
    EXPECT_TRUE(has("stopped", "stop"));
    EXPECT_TRUE(has("running", "run"));
    EXPECT_TRUE(has("making", "make"));
    EXPECT_TRUE(has("nearest", "near"));
    EXPECT_TRUE(has("bigger", "big"));
    EXPECT_TRUE(has("heavily", "heavy"));
    EXPECT_TRUE(has("knives", "knife"));
    EXPECT_TRUE(has("went", "go"));
    EXPECT_TRUE(has("was", "be"));
    EXPECT_TRUE(has("children", "child"));
    EXPECT_TRUE(has("bought", "buy"));
    EXPECT_TRUE(has("john's", "john"));
    EXPECT_EQ(EnglishBaseForms("saved").front(), "sav");
    EXPECT_EQ(EnglishBaseForms("went").front(), "go");
    // "class" is no plural, and nothing shorter than two letters is offered.
    EXPECT_FALSE(has("class", "clas"));
    EXPECT_TRUE(EnglishBaseForms("is").size() == 1);
    EXPECT_TRUE(EnglishBaseForms("go").empty());
}

TEST(PunctuationTest, MapsBetweenTheWidths) {
    EXPECT_EQ(ToChinesePunctuation(U','), U'，');
    EXPECT_EQ(ToChinesePunctuation(U'.'), U'。');
    EXPECT_EQ(ToChinesePunctuation(U'?'), U'？');
    EXPECT_EQ(ToChinesePunctuation(U'a'), 0U);
    EXPECT_EQ(ToEnglishPunctuation(U'、'), U',');
    EXPECT_EQ(ToEnglishPunctuation(U'。'), U'.');
    EXPECT_EQ(ToEnglishPunctuation(U'》'), U'"');
    EXPECT_EQ(ToEnglishPunctuation(U'＃'), U'#');
    // Full-width letters and digits are text, not marks.
    EXPECT_EQ(ToEnglishPunctuation(U'Ａ'), 0U);
    EXPECT_EQ(ToEnglishPunctuation(U'３'), 0U);
    EXPECT_TRUE(IsOpeningMark(U'（'));
    EXPECT_FALSE(IsOpeningMark(U'）'));
}

TEST(DictionaryIndexTest, RefusesBrokenOrUnsortedIndexes) {
    std::string error;
    EXPECT_FALSE(DictionaryIndex::Parse("", error).has_value());
    EXPECT_FALSE(DictionaryIndex::Parse("tovrik-dictionary 2\nZ 0\nE 0\n", error).has_value());
    EXPECT_FALSE(DictionaryIndex::Parse("tovrik-dictionary 1\nZ 2\n我\tI\t5\t-\n", error).has_value());
    EXPECT_FALSE(DictionaryIndex::Parse("tovrik-dictionary 1\nZ 1\n我\tI\tcheap\t-\nE 0\n", error).has_value());
    EXPECT_FALSE(
        DictionaryIndex::Parse("tovrik-dictionary 1\nZ 2\n我\tI\t5\t-\n你\tyou\t5\t-\nE 0\n", error).has_value());
    EXPECT_EQ(error, "the entries are not sorted");
    EXPECT_FALSE(DictionaryIndex::Load("/nonexistent/dictionary.idx", error).has_value());
    EXPECT_NE(error.find("/nonexistent/dictionary.idx"), std::string::npos);
}

// The index the build made from the full dictionary: present, or the build is broken.
class BuiltDictionaryTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_index =
            std::make_unique<std::optional<DictionaryIndex>>(DictionaryIndex::Load(DefaultDictionaryPath(), error));
        ASSERT_TRUE(s_index->has_value()) << error;
    }
    static void TearDownTestSuite() { s_index.reset(); }
    static std::unique_ptr<std::optional<DictionaryIndex>> s_index;
};
std::unique_ptr<std::optional<DictionaryIndex>> BuiltDictionaryTest::s_index;

TEST_F(BuiltDictionaryTest, HoldsTheFullDictionary) {
    const DictionaryIndex& index = **s_index;
    EXPECT_GT(index.ChineseCount(), 100000U);
    EXPECT_GT(index.EnglishCount(), 50000U);
    EXPECT_EQ(index.FindChinese("图书馆")->english, "library");
    EXPECT_EQ(index.FindEnglish("library"), "图书馆");
    EXPECT_EQ(index.FindEnglish("train station"), "火车站");
}

TEST_F(BuiltDictionaryTest, TranslatesEverydaySentencesWordByWord) {
    const DictionaryTranslator translator(**s_index);
    EXPECT_EQ(translator.TranslateLine("图书馆周末不开门。", Language::Chinese), "Library weekend no open a door.");
    EXPECT_EQ(translator.TranslateLine("Where is the nearest train station?", Language::English), "哪里是最近火车站？");
}

} // namespace
} // namespace tovrik::standin
