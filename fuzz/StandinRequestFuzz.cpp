// The stand-in's side of a request: the query and form body taken apart, Base64 and UTF-8 of
// the uploads decoded, and the keyless and signed translation endpoints answering. No crash,
// decoders that give back what their encoders make, and replies that are always JSON strings
// or plain text as the endpoint promises.
#include "Base64.h"
#include "DictionaryIndex.h"
#include "DictionaryIndexBuilder.h"
#include "DictionaryTranslator.h"
#include "FormFields.h"
#include "FuzzParts.h"
#include "Json.h"
#include "Md5.h"
#include "TranslationService.h"
#include "Utf8.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace tovrik::standin;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// A few words are enough for the endpoints to reach the translator in both directions.
DictionaryIndex SmallIndex() {
    const std::vector<CedictEntry> entries = {{"你好", "ni3 hao3", {"hello", "hi"}},
                                              {"世界", "shi4 jie4", {"world"}},
                                              {"打开", "da3 kai1", {"to open"}},
                                              {"文件", "wen2 jian4", {"document", "file"}}};
    std::string error;
    std::optional<DictionaryIndex> index =
        DictionaryIndex::Parse(BuildDictionaryIndex(entries, ReadWordFrequencies("你好 100\n世界 50\n")), error);
    Check(index.has_value());
    return std::move(*index);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DictionaryIndex index = SmallIndex();
    static const DictionaryTranslator translator(index);
    static const TranslationService translation("app", "key", translator);
    const auto parts = tovrik::fuzz::SplitInput(data, size, 2);

    const FormFields query = FormFields::Parse(parts[0]);
    const FormFields form = FormFields::Parse(parts[1]);
    (void)PercentDecode(parts[0]);

    const std::string image = form.Value("image");
    if (const auto decoded = Base64Decode(image)) {
        Check(Base64Decode(Base64Encode(*decoded)) == decoded);
    }
    const std::string raw(parts[1]);
    Check(Base64Decode(Base64Encode(raw)) == raw);

    const std::vector<char32_t> points = DecodeUtf8(raw);
    const std::string utf8 = EncodeUtf8(std::u32string(points.begin(), points.end()));
    const std::vector<char32_t> again = DecodeUtf8(utf8);
    Check(again == points);
    const std::string quoted = JsonQuote(raw, (size & 1) != 0);
    Check(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"');

    (void)translation.PlainText(query);
    (void)translation.Signed(form);
    // A correctly signed request reaches the dictionary.
    const std::string q = form.Value("q");
    std::string signedForm = "appid=app&salt=1&from=auto&to=" + query.Value("to") + "&q=";
    for (const char c : q) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        const auto byte = static_cast<unsigned char>(c);
        signedForm += '%';
        signedForm += kDigits[byte >> 4];
        signedForm += kDigits[byte & 15];
    }
    signedForm += "&sign=" + Md5Hex("app" + q + "1key");
    (void)translation.Signed(FormFields::Parse(signedForm));
    return 0;
}
