// `smearhost studio [FILE.svg]`: paint by hand on a drawing through a page
// served on this machine's loopback address.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <pthread.h>
#include <thread>

#include "app.h"
#include "request_order.h"
#include "session_files.h"
#include "studio.h"
#include "studio_api.h"
#include "studio_server.h"

namespace smear::app {

namespace {

struct StudioCommand {
    std::string drawing;
    std::string outDir;
    int port = 8765;
    uint32_t seed = 1;
    bool recover = false;
};

// The journal of a studio on `drawing` with its output in `outDir`: beside
// the output, named after the drawing, so that the same command finds it.
std::string journalPath(const StudioCommand &o) {
    const std::string stem =
        o.drawing.empty() ? "sample" : std::filesystem::path(o.drawing).stem().string();
    return joinPath(o.outDir, stem + ".studio-journal");
}

int serve(const Context &context, const StudioCommand &o) {
    // Ctrl-C and a polite kill end the server through the signal thread, so
    // the plug-in is shut down as the host does when it quits. The mask is
    // set before any thread starts, and every thread inherits it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    StudioOptions options;
    options.drawing = o.drawing;
    options.outDir = o.outDir;
    options.seed = o.seed;
    options.journal = journalPath(o);
    options.recover = o.recover;
    options.attach = [&context](Host &host, std::string &error) { return openPlugin(host, context, error); };
    std::string error;
    if (!o.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.outDir, ec);
        if (ec) return fail(o.outDir + ": cannot make the folder: " + ec.message());
    }
    Studio studio(options);
    if (!studio.open(error)) return fail(error);
    for (const std::string &problem : studio.problems()) std::cerr << "smearhost: " << o.drawing << ": " << problem << "\n";
    if (studio.recovered() > 0)
        std::cout << "smearhost studio: took up " << studio.recovered() << " steps from " << options.journal
                  << ": the drawing is as it was after the last finished stroke" << std::endl;

    std::mutex one;  // the host serves one message at a time
    RequestOrder order;  // in the order the page sent them
    StudioGuard guard;
    StudioServer server([&](const StudioRequest &request) {
        StudioResponse answer;
        std::chrono::duration<double, std::milli> took{};
        {
            std::unique_lock<std::mutex> lock(one);
            order.waitTurn(request.order, lock);
            const auto start = std::chrono::steady_clock::now();
            answer = handleStudioRequest(studio, request, guard);
            took = std::chrono::steady_clock::now() - start;
            order.done(request.order);
        }
        // What the studio spent on the answer, for the page's timings and the benchmark.
        answer.headers.emplace_back("Server-Timing", "studio;dur=" + std::to_string(took.count()));
        return answer;
    });
    const int port = server.bind(o.port);
    if (port < 0)
        return fail(o.port == 0 ? std::string("cannot listen on 127.0.0.1: no free port")
                                : "cannot listen on 127.0.0.1:" + std::to_string(o.port) +
                                      " (in use? choose another with --port, or --port 0 for any free one)");
    const std::string host = "127.0.0.1";
    guard.hosts = {host + ":" + std::to_string(port), "localhost:" + std::to_string(port)};
    std::thread stopper([&server, stopSignals]() {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    std::cout << "smearhost studio: painting " << (o.drawing.empty() ? "the built-in sample drawing" : o.drawing)
              << "\n  open http://127.0.0.1:" << port << "/ in a browser on this machine"
              << "\n  saved drawings and sessions go to " << (o.outDir.empty() ? "the working folder" : o.outDir)
              << "\n  press Ctrl-C to stop" << std::endl;
    server.serve();
    // The server stopped for a signal; let the signal thread go if it did not.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    const bool unsaved = studio.unsaved();
    studio.quit();
    if (unsaved)
        std::cout << "smearhost studio: stopped with changes not saved; they are kept in " << options.journal
                  << "\n  the same command takes them up again" << std::endl;
    else
        std::cout << "smearhost studio: stopped" << std::endl;
    return 0;
}

}  // namespace

void addStudioCommand(CLI::App &app, Context &context) {
    auto o = std::make_shared<StudioCommand>();
    CLI::App *cmd = app.add_subcommand("studio", "paint on a drawing by hand, in a browser page served on 127.0.0.1");
    cmd->add_option("drawing", o->drawing, "the drawing to paint on (SVG; default: the built-in sample drawing)");
    cmd->add_option("--port", o->port, "port on 127.0.0.1 (0: any free port)")->check(CLI::Range(0, 65535));
    cmd->add_option("--out-dir", o->outDir, "folder for saved drawings and sessions (default: the working folder)");
    cmd->add_option("--seed", o->seed, "seed of the host's random source");
    cmd->add_flag("--recover", o->recover,
                  "take up the record kept in the journal beside the output (done whenever one is there; "
                  "with this flag, its absence is an error)");
    cmd->callback([&context, o]() { context.exitCode = serve(context, *o); });
}

}  // namespace smear::app
