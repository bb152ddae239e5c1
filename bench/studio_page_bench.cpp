// The studio as a person paints with it, timed: headless Chromium opens the
// page on a grid of N squares, selects everything, picks one tool and drags
// a pen across the grid, 61 moves 16 ms apart (a second of pen movement).
// For each size it reports
//   settle:  from the pen's last event (its lift) until the page has shown
//            the last change and waits for no answer (the next frame drawn);
//   gesture: how long the one-second gesture took, played through the
//            browser's input at its own pace (longer when the page blocks
//            its input), beside the same moves with the pen lifted;
//   server:  the studio's own time per drag answer (its Server-Timing), for
//            the page's drags and for a second stroke sent one point at a
//            time without a browser (median and slowest).
// Not a test: figures depend on the machine. Needs chromium and chromedriver.
//
// Usage: studio_page_bench SMEARHOST [TOOL] [N ...]   (default: transparency 2000 20000 100000)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <thread>

#include "webdriver.h"

using nlohmann::json;
using namespace smear::browser;
namespace fs = std::filesystem;

namespace {

constexpr double kSquare = 10, kPitch = 12;

// A grid of `count` squares, each with an id, as a file a person would open.
void writeGrid(const fs::path &path, int count) {
    const int columns = int(std::ceil(std::sqrt(double(count))));
    const int rows = (count + columns - 1) / columns;
    std::ofstream out(path);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << columns * kPitch << " " << rows * kPitch
        << "\">\n";
    for (int i = 0; i < count; ++i)
        out << "<rect id=\"s" << i << "\" x=\"" << (i % columns) * kPitch << "\" y=\"" << (i / columns) * kPitch
            << "\" width=\"" << kSquare << "\" height=\"" << kSquare << "\" fill=\"#" << std::hex
            << (((i * 2654435761u) & 0xffffff) | 0x404040) << std::dec << "\"/>\n";
    out << "</svg>\n";
}

template <class F> bool waitFor(F &&done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

double serverMs(const httplib::Result &r) {
    if (!r) return -1;
    std::smatch m;
    const std::string timing = r->get_header_value("Server-Timing");
    return std::regex_search(timing, m, std::regex("dur=([0-9.]+)")) ? std::stod(m[1]) : -1;
}

struct Spread {
    double median = 0, slowest = 0;
};
Spread spread(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

int benchOne(const std::string &smearhost, const std::string &toolName, int count, const fs::path &work) {
    fs::remove_all(work);
    fs::create_directories(work / "out");
    writeGrid(work / "grid.svg", count);
    Child studio({smearhost, "studio", (work / "grid.svg").string(), "--port", "0", "--out-dir", (work / "out").string()},
                 true);
    std::string line, url;
    while (url.empty() && studio.readLine(line, 120)) {
        std::smatch m;
        if (std::regex_search(line, m, std::regex("http://127\\.0\\.0\\.1:[0-9]+/"))) url = m.str();
    }
    if (url.empty()) {
        std::cerr << "the studio did not start\n";
        return 1;
    }
    const int port = std::stoi(url.substr(url.rfind(':') + 1));
    httplib::Client api("127.0.0.1", port);
    api.set_read_timeout(120, 0);
    const int driverPort = freePort();
    Child driverProcess({"/usr/bin/chromedriver", "--port=" + std::to_string(driverPort), "--silent"}, false);
    WebDriver driver(driverPort);
    std::string error;
    if (!driver.start("/usr/bin/chromium", (work / "profile").string(), error)) {
        std::cerr << "no browser: " << error << "\n";
        return 1;
    }
    const auto loadStart = std::chrono::steady_clock::now();
    driver.go(url);
    if (!waitFor([&] { return driver.script("return document.getElementById('status').textContent") == "ready"; }, 300)) {
        std::cerr << "the page did not load\n";
        return 1;
    }
    const double loadMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count();
    driver.click("#select-all");
    waitFor([&] {
        auto r = api.Get("/api/state");
        return r && json::parse(r->body)["selected"] == count;
    }, 120);
    driver.click("[data-tool='" + toolName + "']");
    waitFor([&] { return driver.script("return !!document.querySelector('#dialog [data-id=\"191\"]')") == true; }, 60);
    waitFor([&] { return driver.script("return window.studioShown().idle") == true; }, 60);

    // The pen's events as the page receives them, and the studio's time for
    // each answer, as the page's resource timings report it.
    driver.script(R"js(
        window.benchLast = 0; window.benchFirst = 0; window.benchFrames = [];
        const frame = (t) => { window.benchFrames.push(Math.round(t)); if (window.benchFrames.length < 2000) requestAnimationFrame(frame); };
        requestAnimationFrame(frame);
        const o = document.getElementById('overlay');
        for (const type of ['pointerdown', 'pointermove', 'pointerup'])
          o.addEventListener(type, (e) => { window.benchLast = performance.now(); if (!window.benchFirst) window.benchFirst = window.benchLast; }, true);
        performance.clearResourceTimings();
        performance.setResourceTimingBufferSize(100000);)js");
    const json box = driver.script(
        "const r = document.getElementById('overlay').getBoundingClientRect(); return [r.left, r.top, r.width, r.height];");
    const double left = box[0], top = box[1], width = box[2], height = box[3];
    // The pen's path: where it goes down, then 61 moves across the grid.
    std::vector<std::pair<double, double>> path{{left + 0.02 * width, top + 0.5 * height}};
    for (int i = 1; i <= 61; ++i)
        path.emplace_back(left + (0.02 + 0.96 * i / 61) * width, top + (0.5 + 0.1 * std::sin(i / 6.0)) * height);
    // Played through the browser's own input (the DevTools protocol, as a
    // tablet's events arrive), each event at its time, 16 ms apart: an
    // event waits for the page to take the one before, so a page that
    // blocks its input stretches the gesture, and nothing else does (the
    // WebDriver's actions pace themselves at about 33 ms a move).
    const auto pen = [&](const char *type, double x, double y, int buttons) {
        json params{{"type", type}, {"x", x}, {"y", y}, {"pointerType", "pen"}, {"buttons", buttons}};
        if (std::string(type) != "mouseMoved") params["button"] = "left", params["clickCount"] = 1;
        else if (buttons) params["button"] = "left";
        if (buttons || std::string(type) == "mouseReleased") params["force"] = 0.5;
        driver.call("POST", "/goog/cdp/execute", {{"cmd", "Input.dispatchMouseEvent"}, {"params", params}});
    };
    const auto gesture = [&](bool painting) {
        const auto t0 = std::chrono::steady_clock::now();
        if (painting) pen("mousePressed", path[0].first, path[0].second, 1);
        else pen("mouseMoved", path[0].first, path[0].second, 0);
        for (size_t i = 1; i < path.size(); ++i) {
            std::this_thread::sleep_until(t0 + std::chrono::milliseconds(16 * i));
            pen("mouseMoved", path[i].first, path[i].second, painting ? 1 : 0);
        }
        if (painting) pen("mouseReleased", path.back().first, path.back().second, 0);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    // The same moves with the pen held above the page (no stroke): what the
    // browser takes for the gesture by itself.
    const double hoverMs = gesture(false);
    driver.script("window.benchLast = 0; window.benchFirst = 0;");
    const double gestureMs = gesture(true);
    const json settled = driver.script(R"js(
        return new Promise((resolve) => {
          const check = () => {
            const s = window.studioShown();
            if (s.idle && document.getElementById('status').textContent.startsWith('stroke painted'))
              requestAnimationFrame(() => resolve([performance.now() - window.benchLast, window.benchLast - window.benchFirst]));
            else setTimeout(check, 1);
          };
          check();
        });)js");
    const json pageTimings = driver.script(R"js(
        return performance.getEntriesByType('resource').filter((e) => e.name.endsWith('/api/stroke/drag'))
          .map((e) => (e.serverTiming.find((t) => t.name === 'studio') || { duration: -1 }).duration);)js");
    if (std::getenv("STUDIO_BENCH_TRACE"))
        std::cerr << driver.script(R"js(
            const f = window.benchFrames, gaps = f.slice(1).map((t, i) => t - f[i]).filter((g) => g > 20);
            return { spent: window.studioShown().spent, longFrames: gaps.length, longFrameMs: gaps.reduce((a, b) => a + b, 0), worst: Math.max(...gaps) };)js")
                         .dump()
                  << "\n";
    if (std::getenv("STUDIO_BENCH_TRACE"))
        std::cerr << driver.script(R"js(
            return performance.getEntriesByType('resource').filter((e) => e.name.includes('/api/'))
              .map((e) => [e.name.split('/api/')[1], Math.round(e.startTime - window.benchLast), Math.round(e.responseEnd - window.benchLast),
                           (e.serverTiming.find((t) => t.name === 'studio') || { duration: -1 }).duration]);)js")
                         .dump()
                  << "\n";
    std::vector<double> pageServer;
    for (const json &t : pageTimings) pageServer.push_back(t.get<double>());

    // The same stroke sent one point at a time, with no browser.
    std::vector<double> direct;
    const auto post = [&](const std::string &path, const json &body) {
        return api.Post(path.c_str(), body.dump(), "application/json");
    };
    const double w = std::ceil(std::sqrt(double(count))) * kPitch;
    const double h = std::ceil(count / std::ceil(std::sqrt(double(count)))) * kPitch;
    post("/api/stroke/down", {{"tool", toolName}, {"at", {0.02 * w, 0.5 * h}}});
    for (int i = 1; i <= 61; ++i)
        direct.push_back(serverMs(post("/api/stroke/drag", {{"points", {{{"at", {(0.02 + 0.96 * i / 61) * w, 0.45 * h}}}}}})));
    post("/api/stroke/up", json::object());

    const Spread p = spread(pageServer), d = spread(direct);
    std::cout << count << " objects, " << toolName << ": page loaded in " << std::lround(loadMs) << " ms; settle "
              << std::lround(settled[0].get<double>()) << " ms after the pen's last event; gesture "
              << std::lround(gestureMs) << " ms (without painting " << std::lround(hoverMs) << " ms; the page saw it over " << std::lround(settled[1].get<double>())
              << " ms); server per drag answer: page's " << pageServer.size() << " drags median " << p.median
              << " ms, slowest " << p.slowest << " ms; one point at a time median " << d.median << " ms, slowest "
              << d.slowest << " ms" << std::endl;
    driver.quit();
    driverProcess.stop();
    studio.stop();
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::cerr << "usage: studio_page_bench SMEARHOST [TOOL] [N ...]\n";
        return 2;
    }
    if (!fs::exists("/usr/bin/chromium") || !fs::exists("/usr/bin/chromedriver")) {
        std::cerr << "studio_page_bench: needs /usr/bin/chromium and /usr/bin/chromedriver\n";
        return 77;
    }
    const std::string tool = argc > 2 ? argv[2] : "transparency";
    std::vector<int> counts;
    for (int i = 3; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {2000, 20000, 100000};
    const fs::path work = fs::temp_directory_path() / "smear-studio-page-bench";
    int code = 0;
    for (int count : counts) {
        try {
            code |= benchOne(argv[1], tool, count, work);
        } catch (const std::exception &e) {
            std::cerr << count << " objects: " << e.what() << "\n";
            code = 1;
        }
    }
    fs::remove_all(work);
    return code;
}
