// Throughput of the text conversions on 1 MB of mixed Chinese and ASCII program text.
#include "text/Encoding.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tovrik;

constexpr std::size_t kSampleSize = 1024 * 1024;

// Roughly half Chinese, half ASCII by bytes, as recognised text and form bodies are.
const Text& MixedText() {
    static const Text text = [] {
        const Text sentence = "截图识别结果：The quick brown fox 跳过了懒狗。OCR 2024-06-01, 翻译 ok!\r\n";
        Text result;
        while (result.size() + sentence.size() <= kSampleSize) {
            result += sentence;
        }
        return result;
    }();
    return text;
}

const Bytes& MixedUtf8() {
    static const Bytes utf8 = text::TextToUtf8(MixedText());
    return utf8;
}

void Run(benchmark::State& state, BytesView input, Text (*convert)(BytesView)) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(convert(input));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(input.size()));
}

void BM_Base64Encode(benchmark::State& state) {
    Run(state, MixedText(), [](BytesView bytes) { return text::Base64Encode(bytes); });
}

void BM_UrlEncode(benchmark::State& state) {
    Run(state, MixedText(), [](BytesView bytes) { return text::UrlEncode(bytes, true); });
}

void BM_UrlEncodeUtf8(benchmark::State& state) {
    Run(state, MixedText(), [](BytesView bytes) { return text::UrlEncode(bytes, true, true); });
}

void BM_TextToUtf8(benchmark::State& state) {
    Run(state, MixedText(), [](BytesView bytes) { return text::TextToUtf8(bytes); });
}

void BM_Utf8ToText(benchmark::State& state) {
    Run(state, MixedUtf8(), [](BytesView bytes) { return text::Utf8ToText(bytes); });
}

void BM_Md5Hex(benchmark::State& state) {
    Run(state, MixedText(), [](BytesView bytes) { return text::Md5Hex(bytes); });
}

} // namespace

BENCHMARK(BM_Base64Encode);
BENCHMARK(BM_UrlEncode);
BENCHMARK(BM_UrlEncodeUtf8);
BENCHMARK(BM_TextToUtf8);
BENCHMARK(BM_Utf8ToText);
BENCHMARK(BM_Md5Hex);

BENCHMARK_MAIN();
