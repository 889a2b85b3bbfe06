// What a recognition reply costs: Load + Count + 20 GetText on a 20 KB OCR-style reply, the
// way the recognition service reads one (target: 1 ms on the Linux release build).
// Duktape from its source (-DTOVRIK_DUKTAPE_FROM_SOURCE=ON) is about twice as fast as the
// packaged library.
#include "json/JsonDocument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using tovrik::Text;
using tovrik::json::JsonDocument;

constexpr std::size_t kReplySize = 20 * 1024;

// Program text (code page 936), as the service hands the decoded reply over.
Text OcrReply(std::size_t size) {
    Text reply = R"({"log_id":1603256842153948613,"words_result_num":NUM,"words_result":[)";
    int count = 0;
    while (reply.size() < size) {
        if (count > 0) {
            reply += ",";
        }
        reply += R"({"words":"第)" + std::to_string(count) + R"(行：识别的文字 Recognised text, line )" +
                 std::to_string(count) + R"( \"quoted\" 12.5%"})";
        ++count;
    }
    reply += "]}";
    reply.replace(reply.find("NUM"), 3, std::to_string(count));
    return reply;
}

std::size_t ReadReply(JsonDocument& document, const Text& reply, benchmark::State& state) {
    if (!document.Load(reply)) {
        state.SkipWithError("the reply did not load");
        return 0;
    }
    std::size_t characters = 0;
    const int count = document.Count("words_result");
    for (int i = 0; i < 20 && i < count; ++i) {
        characters += document.GetText("words_result[" + std::to_string(i) + "].words").size();
    }
    return characters;
}

// The target: Load + Count + 20 GetText, on a document whose engine was started beforehand
// (the services create their document before they send the request).
void BM_LoadCountAndRead(benchmark::State& state) {
    const Text reply = OcrReply(kReplySize);
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<JsonDocument>();
        document->Init();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ReadReply(*document, reply, state));
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_LoadCountAndRead)->Unit(benchmark::kMicrosecond);

// The same with the engine's start and end counted in.
void BM_WholeDocumentLife(benchmark::State& state) {
    const Text reply = OcrReply(kReplySize);
    for (auto _ : state) {
        JsonDocument document;
        document.Init();
        benchmark::DoNotOptimize(ReadReply(document, reply, state));
    }
}
BENCHMARK(BM_WholeDocumentLife)->Unit(benchmark::kMicrosecond);

void BM_EngineStart(benchmark::State& state) {
    for (auto _ : state) {
        JsonDocument document;
        document.Init();
        benchmark::DoNotOptimize(document.ScriptObject());
    }
}
BENCHMARK(BM_EngineStart)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
