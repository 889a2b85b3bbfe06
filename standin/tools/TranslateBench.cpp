// tovrik-translate-bench: how much of a set of sentences the stand-in's translation leaves
// untranslated, and whether each sentence's key word comes through.
//
//   tovrik-translate-bench --port PORT SENTENCES.tsv   asks a running stand-in (/translate)
//   tovrik-translate-bench --local INDEX SENTENCES.tsv loads the index itself and times the
//                          load, each sentence (100 rounds) and the memory the index takes
//
// SENTENCES.tsv: "en" or "zh", the sentence, and the key word's acceptable translations joined
// by "|"; lines starting with "#" are comments. Untranslated share: English source words
// (letters only) that come back as Latin words, Chinese ideographs that come back as
// ideographs, over all the source's words or ideographs.

#include "DictionaryIndex.h"
#include "DictionaryTranslator.h"
#include "SentenceScore.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace tovrik::standin;

namespace {

struct Sentence {
    std::string language;
    std::string text;
    std::vector<std::string> keys;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

std::vector<Sentence> ReadSentences(const std::string& path) {
    std::ifstream in(path);
    std::vector<Sentence> sentences;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() == 3 && (fields[0] == "en" || fields[0] == "zh")) {
            sentences.push_back({fields[0], fields[1], Split(fields[2], '|')});
        } else {
            std::fprintf(stderr, "tovrik-translate-bench: skipping a malformed line: %s\n", line.c_str());
        }
    }
    return sentences;
}

std::string UrlEncode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

// Resident memory of this process in kB, from /proc/self/status.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int RunLocal(const std::string& indexPath, const std::vector<Sentence>& sentences) {
    const long before = ResidentKb();
    const auto loadStart = std::chrono::steady_clock::now();
    std::string error;
    const std::optional<DictionaryIndex> index = DictionaryIndex::Load(indexPath, error);
    const double loadMs = Since(loadStart);
    if (!index) {
        std::fprintf(stderr, "tovrik-translate-bench: %s\n", error.c_str());
        return 1;
    }
    const long loaded = ResidentKb();
    const DictionaryTranslator translator(*index);
    std::vector<double> milliseconds;
    size_t bytes = 0;
    for (int round = 0; round < 100; ++round) {
        for (const Sentence& sentence : sentences) {
            const auto start = std::chrono::steady_clock::now();
            bytes +=
                translator
                    .TranslateLine(sentence.text, sentence.language == "en" ? Language::English : Language::Chinese)
                    .size();
            milliseconds.push_back(Since(start));
        }
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("index load %.0f ms (goal <= 300), %zu headwords + %zu phrases take %.1f MB (goal <= 80; process "
                "%.1f MB); per sentence median %.3f ms, 99th percentile %.3f ms, slowest %.3f ms (goal <= 5; %zu "
                "translations, %zu bytes)\n",
                loadMs, index->ChineseCount(), index->EnglishCount(), static_cast<double>(loaded - before) / 1024.0,
                static_cast<double>(ResidentKb()) / 1024.0, milliseconds[milliseconds.size() / 2],
                milliseconds[milliseconds.size() * 99 / 100], milliseconds.back(), milliseconds.size(), bytes);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode != "--port" && mode != "--local") {
        std::fputs("usage: tovrik-translate-bench --port PORT SENTENCES.tsv\n"
                   "       tovrik-translate-bench --local INDEX SENTENCES.tsv\n",
                   stderr);
        return 2;
    }
    const std::vector<Sentence> sentences = ReadSentences(argv[3]);
    if (sentences.empty()) {
        std::fprintf(stderr, "tovrik-translate-bench: no sentences in %s\n", argv[3]);
        return 2;
    }
    if (mode == "--local") {
        return RunLocal(argv[2], sentences);
    }
    httplib::Client client("127.0.0.1", std::stoi(argv[2]));
    client.set_read_timeout(10);
    size_t sourceUnits = 0;
    size_t untranslatedUnits = 0;
    size_t keyHits = 0;
    std::vector<double> milliseconds;
    for (const Sentence& sentence : sentences) {
        const bool english = sentence.language == "en";
        const auto start = std::chrono::steady_clock::now();
        const auto reply = client.Get("/translate?type=" + std::string(english ? "EN2ZH_CN" : "ZH_CN2EN") +
                                      "&i=" + UrlEncode(sentence.text));
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!reply || reply->status != 200 || reply->body.find("result=") == std::string::npos) {
            std::fprintf(stderr, "tovrik-translate-bench: no translation of \"%s\"\n", sentence.text.c_str());
            return 1;
        }
        const std::string translation = reply->body.substr(reply->body.find("result=") + 7);
        const SentenceScore score = ScoreTranslation(sentence.text, translation, english, sentence.keys);
        sourceUnits += score.sourceUnits;
        untranslatedUnits += score.untranslatedUnits;
        keyHits += score.keyFound ? 1 : 0;
        std::printf("%s %zu/%zu %s | %s -> %s\n", score.keyFound ? "key" : "---", score.untranslatedUnits,
                    score.sourceUnits, sentence.language.c_str(), sentence.text.c_str(), translation.c_str());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("untranslated %.1f%% (%zu of %zu source words/ideographs; goal <= 10%%), key words %zu of %zu "
                "(%.0f%%; goal >= 80%%), request median %.2f ms, slowest %.2f ms (HTTP included)\n",
                100.0 * static_cast<double>(untranslatedUnits) / static_cast<double>(std::max<size_t>(sourceUnits, 1)),
                untranslatedUnits, sourceUnits, keyHits, sentences.size(),
                100.0 * static_cast<double>(keyHits) / static_cast<double>(sentences.size()),
                milliseconds[milliseconds.size() / 2], milliseconds.back());
    return 0;
}
