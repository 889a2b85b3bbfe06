// tovrik-standin: the cloud services' protocols on 127.0.0.1, answered by offline engines.

#include "DictionaryIndex.h"
#include "DictionaryTranslator.h"
#include "OcrEngine.h"
#include "OcrService.h"
#include "SpeechEngine.h"
#include "SpeechService.h"
#include "StandinOptions.h"
#include "StandinServer.h"
#include "TokenSecret.h"
#include "TokenService.h"
#include "TranslationService.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pthread.h>
#include <thread>
#include <unistd.h>

using namespace tovrik::standin;

namespace {

// Debian's tesseract is built with OpenMP, which spins a thread per core inside every
// recognition and is several times slower for it on a small machine. OpenMP reads the limit
// once, when the library loads, so it has to be in the environment before the process starts.
void EnsureSingleOpenMpThread(char** argv) {
    if (std::getenv("OMP_THREAD_LIMIT") != nullptr) {
        return;
    }
    setenv("OMP_THREAD_LIMIT", "1", 1);
    execv("/proc/self/exe", argv);
    std::perror("tovrik-standin: re-exec with OMP_THREAD_LIMIT=1 failed; going on with more threads");
}

} // namespace

int main(int argc, char** argv) {
    EnsureSingleOpenMpThread(argv);

    std::string error;
    const std::optional<StandinOptions> options = ParseStandinOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "tovrik-standin: %s\n%s", error.c_str(), StandinUsage().c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(StandinUsage().c_str(), stdout);
        return 0;
    }

    // SIGINT and SIGTERM end the server through a waiting thread, so that the engines are shut
    // down in order; every thread started from here on inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    OcrEngine ocrEngine(options->ocrLanguages, options->tessdata);
    if (!ocrEngine.IsReady()) {
        std::fprintf(stderr, "tovrik-standin: cannot load the tesseract languages \"%s\"\n",
                     options->ocrLanguages.c_str());
        return 1;
    }
    SpeechEngine speechEngine;
    if (!speechEngine.IsReady()) {
        std::fputs("tovrik-standin: cannot start espeak-ng\n", stderr);
        return 1;
    }
    std::string dictionaryError;
    const auto loadStart = std::chrono::steady_clock::now();
    std::error_code noExecutable;
    const std::optional<DictionaryIndex> dictionary = DictionaryIndex::Load(
        ChooseDictionaryPath(options->dictionary, std::filesystem::read_symlink("/proc/self/exe", noExecutable)),
        dictionaryError);
    if (!dictionary) {
        std::fprintf(stderr, "tovrik-standin: %s\n", dictionaryError.c_str());
        return 1;
    }
    std::fprintf(stderr, "tovrik-standin: dictionary of %zu headwords and %zu English phrases loaded in %.0f ms\n",
                 dictionary->ChineseCount(), dictionary->EnglishCount(),
                 std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count());
    const DictionaryTranslator translator(*dictionary);
    const std::string secretPath =
        options->tokenSecretFile.empty() ? DefaultTokenSecretPath() : options->tokenSecretFile;
    std::string secretError;
    std::string secret = LoadOrCreateTokenSecret(secretPath, secretError);
    if (secret.empty()) {
        std::fprintf(stderr, "tovrik-standin: %s; tokens will not outlive this run\n", secretError.c_str());
        secret = RandomTokenSecret();
    }
    TokenService tokens(options->apiKey, options->secretKey, options->tokenLifetime, secret);
    OcrService ocr(ocrEngine, tokens);
    TranslationService translation(options->appId, options->appKey, translator);
    SpeechService speech(speechEngine);
    StandinServer server({tokens, ocr, translation, speech}, options->maxBodyBytes, options->timeout);

    const int port = server.Bind(options->port);
    if (port < 0) {
        std::fprintf(stderr, "tovrik-standin: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);

    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.Stop();
    });
    const bool served = server.Run();
    // Wakes the waiting thread when serving ended by itself.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return served ? 0 : 1;
}
