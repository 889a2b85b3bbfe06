// The build side of the translation dictionary: reading the npm package's data, cleaning its
// senses, and ranking what goes into the index.

#include "CedictReader.h"
#include "DictionaryIndex.h"
#include "DictionaryIndexBuilder.h"
#include "GlossCleaner.h"

#include <gtest/gtest.h>

namespace tovrik::standin {
namespace {

TEST(CedictReaderTest, ReadsSensesAsStringOrListWithEscapes) {
    const std::string data =
        R"(export default {"all":[["好吃","好吃","hao3 chi1","tasty; delicious",[],[]],)"
        R"(["書","书","shu1",["book","letter","say \"hi\"", "\u00e9\ud83d\ude00"],[],[54,66]]],"classifiers":[]})";
    std::string error;
    const auto entries = ReadCedict(data, error);
    ASSERT_TRUE(entries.has_value()) << error;
    ASSERT_EQ(entries->size(), 2U);
    EXPECT_EQ((*entries)[0].simplified, "好吃");
    EXPECT_EQ((*entries)[0].pinyin, "hao3 chi1");
    EXPECT_EQ((*entries)[0].senses, std::vector<std::string>{"tasty; delicious"});
    EXPECT_EQ((*entries)[1].simplified, "书");
    EXPECT_EQ((*entries)[1].senses, (std::vector<std::string>{"book", "letter", "say \"hi\"", "é😀"}));
}

TEST(CedictReaderTest, RefusesDataOfAnotherShape) {
    std::string error;
    EXPECT_FALSE(ReadCedict(R"(export default {"entries":[]})", error).has_value());
    EXPECT_FALSE(error.empty());
    // Cut off inside an entry, as a truncated download would be.
    EXPECT_FALSE(ReadCedict(R"(export default {"all":[["好","好","hao3",["good")", error).has_value());
    EXPECT_FALSE(ReadCedict(R"(export default {"all":[["好","好"]]})", error).has_value());
}

TEST(GlossCleanerTest, CleansNotesReferencesAndInfinitives) {
    EXPECT_EQ(CleanGloss("tasty; delicious"), "tasty");
    EXPECT_EQ(CleanGloss("(literary) to depart; to leave"), "depart");
    EXPECT_EQ(CleanGloss("book CL:本[ben3],冊|册[ce4]"), "book");
    EXPECT_EQ(CleanGloss("a taxi; a cab (abbr. for 的士[di1 shi4])"), "a taxi");
    EXPECT_EQ(CleanGloss("(Tw) (loanword) code"), "code");
    EXPECT_EQ(CleanGloss("to open (a door (or window))"), "open");
    EXPECT_EQ(CleanGloss("(completed action marker)"), "");
    EXPECT_EQ(CleanGloss("; (old) ; really"), "really");
    EXPECT_TRUE(IsDescription("plural marker for pronouns, and nouns referring to individuals"));
    EXPECT_FALSE(IsDescription("to sit astride a horse"));
}

TEST(GlossCleanerTest, TellsReferencesAndMeasureWordsFromMeanings) {
    EXPECT_TRUE(IsReferenceSense("variant of 個|个[ge4]"));
    EXPECT_TRUE(IsReferenceSense("old variant of 最[zui4]"));
    EXPECT_TRUE(IsReferenceSense("surname Wang"));
    EXPECT_TRUE(IsReferenceSense("used in 自個兒|自个儿[zi4 ge3 r5]"));
    EXPECT_TRUE(IsReferenceSense("abbr. for 書經|书经[Shu1 jing1]"));
    EXPECT_TRUE(IsReferenceSense("(Tw) see 葡萄"));
    EXPECT_FALSE(IsReferenceSense("to see; to meet"));
    EXPECT_FALSE(IsReferenceSense("surnamed; called"));
    EXPECT_FALSE(IsReferenceSense("book"));
    EXPECT_TRUE(IsClassifierSense("classifier for books"));
    EXPECT_TRUE(IsClassifierSense("(classifier used before a noun that has no specific classifier)"));
    EXPECT_FALSE(IsClassifierSense("to classify"));
}

TEST(GlossCleanerTest, EnglishKeysAreLowerCasePhrasesWithTheirMarks) {
    const std::vector<EnglishKey> keys =
        EnglishKeys("to open; the Door; where?; your (honorific); 3D printing; a very long phrase of words");
    ASSERT_EQ(keys.size(), 4U);
    EXPECT_EQ(keys[0].key, "open");
    EXPECT_EQ(keys[1].key, "door");
    EXPECT_EQ(keys[2].key, "where");
    EXPECT_EQ(keys[3].key, "your");
    EXPECT_FALSE(keys[0].marked);
    EXPECT_TRUE(keys[3].marked);
    EXPECT_TRUE(EnglishKeys("(completed action marker)").empty());
}

// The index text of a few entries, loaded as the stand-in loads it.
DictionaryIndex BuildIndex(const std::vector<CedictEntry>& entries, const std::string& counts) {
    std::string error;
    auto index = DictionaryIndex::Parse(BuildDictionaryIndex(entries, ReadWordFrequencies(counts)), error);
    EXPECT_TRUE(index.has_value()) << error;
    return index ? std::move(*index) : *DictionaryIndex::Parse("tovrik-dictionary 1\nZ 0\nE 0\n", error);
}

TEST(DictionaryIndexBuilderTest, GlossesTheMainReadingOfEachHeadword) {
    const DictionaryIndex index = BuildIndex(
        {
            {"了", "liao3", {"to finish", "to understand"}},
            {"了", "le5", {"(completed action marker)"}},
            {"王", "Wang2", {"surname Wang"}},
            {"王", "wang2", {"king", "best of its kind"}},
            {"还", "huan2", {"to pay back"}},
            {"还", "hai2", {"still", "yet", "even more"}},
            {"个", "ge4", {"(classifier used before a noun)", "(bound form) individual"}},
            {"们", "men5", {"plural marker for pronouns, and nouns referring to individuals"}},
            {"个", "ge4", {"variant of 個|个[ge4]"}},
            {"3D打印", "san1 D da3 yin4", {"to 3D print"}},
        },
        "了 1000 ul\n王 50 n\n还 800 d\n个 900 q\n");
    EXPECT_EQ(index.FindChinese("了")->english, ""); // the particle
    EXPECT_EQ(index.FindChinese("王")->english, "king");
    EXPECT_EQ(index.FindChinese("还")->english, "still");
    EXPECT_EQ(index.FindChinese("个")->english, "individual");
    EXPECT_TRUE(index.FindChinese("个")->classifier);
    EXPECT_FALSE(index.FindChinese("还")->classifier);
    EXPECT_EQ(index.FindChinese("们")->english, "");
    EXPECT_EQ(index.FindChinese("3D打印"), nullptr); // only ideographs are segmented
    // Commoner words cost less.
    EXPECT_LT(index.FindChinese("了")->cost, index.FindChinese("王")->cost);
}

TEST(DictionaryIndexBuilderTest, RanksTheCommonWordWhoseMainMeaningItIs) {
    const DictionaryIndex index = BuildIndex(
        {
            {"省", "sheng3", {"to save; to economize", "to omit", "to delete", "province"}},
            {"删除", "shan1 chu2", {"to delete; to cancel"}},
            {"书", "shu1", {"book", "letter"}},
            {"书本", "shu1 ben3", {"book"}},
            {"高", "gao1", {"high", "your (honorific)"}},
            {"你的", "ni3 de5", {"your; yours"}},
            {"火车站", "huo3 che1 zhan4", {"train station"}},
            {"中国", "Zhong1 guo2", {"China"}},
        },
        "省 20000\n删除 3000\n书 10000\n书本 500\n高 30000\n你的 1000\n中国 5000\n");
    EXPECT_EQ(index.FindEnglish("delete"), "删除"); // not a late sense of a frequent character
    EXPECT_EQ(index.FindEnglish("save"), "省");
    EXPECT_EQ(index.FindEnglish("book"), "书");
    EXPECT_EQ(index.FindEnglish("your"), "你的"); // the honorific use ranks lower
    EXPECT_EQ(index.FindEnglish("train station"), "火车站");
    EXPECT_EQ(index.FindEnglish("china"), "中国");
    EXPECT_FALSE(index.FindEnglish("province of china").has_value());
}

} // namespace
} // namespace tovrik::standin
