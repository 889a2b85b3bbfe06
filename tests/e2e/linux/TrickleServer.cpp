// An HTTP server on 127.0.0.1 that answers every request with a reply it sends two bytes a
// second, for as long as the client listens: the server of the request-deadline script.
//
//   tovrik-trickle-server [BYTES]     (default 100000: a reply of almost 14 hours)
//
// Prints "listening on 127.0.0.1:PORT" once it serves; SIGINT or SIGTERM end it.
#include "util/HttpTestServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    tovrik::testutil::CannedReply reply;
    reply.fillerBytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;
    reply.trickleBytesPerSecond = 2;
    tovrik::testutil::HttpTestServer server;
    if (server.Port() == 0) {
        std::fputs("tovrik-trickle-server: cannot listen on 127.0.0.1\n", stderr);
        return 1;
    }
    server.SetReply(reply);
    std::printf("listening on 127.0.0.1:%d\n", server.Port());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
