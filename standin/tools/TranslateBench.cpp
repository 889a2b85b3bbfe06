// tovrik-translate-bench: how much of a set of sentences the stand-in's translation leaves
// untranslated, and whether each sentence's key word comes through.
//
//   tovrik-translate-bench --port PORT SENTENCES.tsv   asks a running stand-in (/translate)
//
// SENTENCES.tsv: "en" or "zh", the sentence, and the key word's acceptable translations joined
// by "|"; lines starting with "#" are comments. Untranslated share: English source words
// (letters only) that come back as Latin words, Chinese ideographs that come back as
// ideographs, over all the source's words or ideographs.

#include "SentenceScore.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::string(argv[1]) != "--port") {
        std::fputs("usage: tovrik-translate-bench --port PORT SENTENCES.tsv\n", stderr);
        return 2;
    }
    const std::vector<Sentence> sentences = ReadSentences(argv[3]);
    if (sentences.empty()) {
        std::fprintf(stderr, "tovrik-translate-bench: no sentences in %s\n", argv[3]);
        return 2;
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
