// The studio as a person uses it, in headless Chromium: open a drawing,
// select two objects (a click and a Shift-click), set options in the tool's
// dialog, drag a pen stroke with pressure over the drawing, save. The saved
// drawing must differ from the file in the selected objects only, and the
// saved session must replay with `smearhost run` to the same file. Then a
// drawing holding scripts is framed by another site and opened at its own
// address: none of its scripts may reach the studio.
//
// Usage: studio_browser_test SMEARHOST DRAWING.svg WORK_DIR
// Exit 77 (skipped) when Chromium or chromedriver is missing. Screenshots
// are left in WORK_DIR (studio-*.png).
#include <atomic>
#include <chrono>
#include <csignal>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <thread>

#include "webdriver.h"

using nlohmann::json;
using namespace smear::browser;
namespace fs = std::filesystem;

namespace {

int passed = 0, failed = 0;

void check(bool ok, const std::string &what) {
    std::cout << (ok ? "ok   " : "FAIL ") << what << std::endl;
    (ok ? passed : failed)++;
}

std::string readFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The start tag of the element with `id`, as the file has it ("" when none).
std::string elementWithId(const std::string &svg, const std::string &id) {
    const size_t at = svg.find(" id=\"" + id + "\"");
    if (at == std::string::npos) return "";
    const size_t open = svg.rfind('<', at), close = svg.find('>', at);
    return open == std::string::npos || close == std::string::npos ? "" : svg.substr(open, close - open + 1);
}

// Waits until `done` holds, for at most `seconds`.
template <class F> bool waitFor(F &&done, double seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

std::string pageStatus(WebDriver &driver) {
    return driver.script("return document.getElementById('status').textContent").get<std::string>();
}

// A point of the drawing (SVG user units) in the window's coordinates.
std::pair<int, int> onScreen(WebDriver &driver, double x, double y) {
    const json p = driver.script(
        "const m = document.getElementById('overlay').getScreenCTM();"
        "return [m.a * arguments[0] + m.c * arguments[1] + m.e, m.b * arguments[0] + m.d * arguments[1] + m.f];",
        {x, y});
    return {int(std::lround(p[0].get<double>())), int(std::lround(p[1].get<double>()))};
}

json pointerMove(WebDriver &driver, double x, double y, double pressure = -1) {
    const auto p = onScreen(driver, x, y);
    json move = {{"type", "pointerMove"}, {"origin", "viewport"}, {"x", p.first}, {"y", p.second}, {"duration", 0}};
    if (pressure >= 0) move["pressure"] = pressure;
    return move;
}

// A click at (x, y), with Shift held when `shift`.
void clickAt(WebDriver &driver, double x, double y, bool shift) {
    const json pointer = {{"type", "pointer"}, {"id", "mouse"}, {"parameters", {{"pointerType", "mouse"}}},
                          {"actions", {pointerMove(driver, x, y), {{"type", "pause"}}, {{"type", "pointerDown"}, {"button", 0}},
                                       {{"type", "pointerUp"}, {"button", 0}}, {{"type", "pause"}}}}};
    const std::string key = "\xEE\x80\x88";  // U+E008, Shift
    const json keys = {{"type", "key"}, {"id", "keyboard"},
                       {"actions", {{{"type", "pause"}}, {{"type", shift ? "keyDown" : "pause"}, {"value", key}},
                                    {{"type", "pause"}}, {{"type", "pause"}}, {{"type", shift ? "keyUp" : "pause"}, {"value", key}}}}};
    driver.actions(json::array({pointer, keys}));
}

// Whether the page has applied every change up to the studio's latest and
// waits for no answer.
bool pageShowsAllChanges(WebDriver &driver, const json &state) {
    const json shown = driver.script("return window.studioShown()");
    return shown["idle"] == true && shown["seq"] == state["seq"];
}

// The objects with ids whose attributes the page shows other than the
// studio's preview writes them (data attributes, which draw nothing, aside).
json shownAsWritten(WebDriver &driver) {
    return driver.script(R"js(
        return fetch('/drawing.svg').then((r) => r.text()).then((text) => {
          const written = new DOMParser().parseFromString(text, 'image/svg+xml');
          const shown = document.getElementById('drawing').shadowRoot;
          const differ = [];
          for (const el of written.querySelectorAll('[id]')) {
            if (el.closest('defs')) continue;
            const s = shown.getElementById(el.id);
            if (!s) { differ.push(el.id + ' is not shown'); continue; }
            for (const a of el.attributes)
              if (!a.name.startsWith('data-') && s.getAttribute(a.name) !== a.value) differ.push(el.id + ' ' + a.name);
          }
          return differ;
        });)js");
}

// Types into a field as a person does: it takes the focus with its text
// selected, and the keys replace the text (clearing it first would commit
// an empty field).
void typeInto(WebDriver &driver, const std::string &css, const std::string &text) {
    driver.script("const el = document.querySelector(arguments[0]); el.focus(); el.select();", {css});
    json keys = json::array();
    for (const char c : text) {
        keys.push_back({{"type", "keyDown"}, {"value", std::string(1, c)}});
        keys.push_back({{"type", "keyUp"}, {"value", std::string(1, c)}});
    }
    const std::string enter = "\xEE\x80\x87";  // U+E007
    keys.push_back({{"type", "keyDown"}, {"value", enter}});
    keys.push_back({{"type", "keyUp"}, {"value", enter}});
    driver.actions(json::array({{{"type", "key"}, {"id", "keyboard"}, {"actions", keys}}}));
}

void saveScreenshot(WebDriver &driver, const fs::path &path) {
    const auto png = driver.screenshot();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(png.data()), std::streamsize(png.size()));
    check(png.size() > 1000 && png[1] == 'P' && png[2] == 'N' && png[3] == 'G', "screenshot " + path.filename().string());
}

// The studio's address as it prints it when it starts ("" when it does not).
std::string studioAddress(Child &studio) {
    std::string line;
    while (studio.readLine(line, 30)) {
        std::smatch m;
        if (std::regex_search(line, m, std::regex("http://127\\.0\\.0\\.1:[0-9]+/"))) return m.str();
    }
    return "";
}

// A drawing whose pattern tile holds a script, and whose root and a link
// carry more: each would post to the site that serves it.
const char kScripted[] = R"x(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" viewBox="0 0 300 200" width="300" height="200" onload="fetch('/api/undo', {method: 'POST', headers: {'Content-Type': 'application/json'}, body: '{}'})">
  <defs>
    <pattern id="tile" width="20" height="20" patternUnits="userSpaceOnUse">
      <rect width="10" height="10" fill="#c03"/>
      <script><![CDATA[
        fetch('/api/select', {method: 'POST', headers: {'Content-Type': 'application/json'}, body: '{"all": true}'});
      ]]></script>
    </pattern>
  </defs>
  <rect id="tiled" x="20" y="20" width="200" height="150" fill="url(#tile)"/>
</svg>
)x";

// Another site (another port of the loopback address is another origin)
// frames the studio's drawing; the drawing is opened at its own address
// too. Its code must run in neither. The same file served by the other
// site itself shows that it would run where nothing stops it.
void theDrawingNeverRuns(const std::string &smearhost, const fs::path &work, WebDriver &driver) {
    std::ofstream(work / "scripted.svg", std::ios::binary) << kScripted;
    Child studio({smearhost, "studio", (work / "scripted.svg").string(), "--port", "0", "--out-dir", (work / "out2").string()},
                 true);
    const std::string url = studioAddress(studio);
    check(!url.empty(), "a second studio opens the drawing that holds scripts");
    if (url.empty()) return;
    httplib::Client api("127.0.0.1", std::stoi(url.substr(url.rfind(':') + 1)));
    const auto untouched = [&api]() {
        auto r = api.Get("/api/state");
        const json s = r ? json::parse(r->body, nullptr, false) : json();
        return s.is_object() && s["steps"] == 1 && s["selected"] == 0;
    };

    httplib::Server other;
    std::atomic<int> posted{0};
    other.Get("/", [&url](const httplib::Request &, httplib::Response &res) {
        res.set_content("<!DOCTYPE html><title>another site</title><iframe id='f' width='400' height='300' src='" + url +
                            "drawing.svg'></iframe><object data='" + url + "drawing.svg' type='image/svg+xml'></object>",
                        "text/html");
    });
    other.Get("/raw.svg", [](const httplib::Request &, httplib::Response &res) { res.set_content(kScripted, "image/svg+xml"); });
    other.Post(".*", [&posted](const httplib::Request &, httplib::Response &res) {
        ++posted;
        res.set_content("{}", "application/json");
    });
    const int otherPort = other.bind_to_any_port("127.0.0.1");
    std::thread serving([&other] { other.listen_after_bind(); });
    const std::string site = "http://127.0.0.1:" + std::to_string(otherPort) + "/";

    driver.go(site);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    check(untouched(), "a page of another site framing the drawing runs none of its scripts in the studio");
    driver.go(url + "drawing.svg");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    check(untouched(), "the drawing opened at the studio's own address runs none of its scripts");
    driver.go(site + "raw.svg");
    check(waitFor([&] { return posted >= 1; }, 10), "served as it is by a site of its own, the drawing's scripts do run");
    check(untouched(), "and the studio still saw none of them");

    other.stop();
    serving.join();
    check(studio.stop(), "the second studio stops cleanly");
}

int run(const std::string &smearhost, const std::string &drawing, const fs::path &work) {
    const char *chromium = "/usr/bin/chromium";
    const char *chromedriver = "/usr/bin/chromedriver";
    if (!fs::exists(chromium) || !fs::exists(chromedriver)) {
        std::cout << "studio_browser_test: skipped: Chromium or chromedriver is not installed "
                     "(apt-get install chromium chromium-driver)" << std::endl;
        return 77;
    }
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path out = work / "out", replay = work / "replay";
    fs::copy_file(drawing, work / "badges.svg");

    Child studio({smearhost, "studio", (work / "badges.svg").string(), "--port", "0", "--out-dir", out.string()}, true);
    std::string line, url;
    while (url.empty() && studio.readLine(line, 30)) {
        std::smatch m;
        if (std::regex_search(line, m, std::regex("http://127\\.0\\.0\\.1:[0-9]+/"))) url = m.str();
    }
    check(!url.empty(), "the studio prints its address on 127.0.0.1");
    if (url.empty()) return 1;

    const int driverPort = freePort();
    Child driverProcess({chromedriver, "--port=" + std::to_string(driverPort), "--silent"}, false);
    WebDriver driver(driverPort);
    std::string error;
    if (!driver.start(chromium, (work / "profile").string(), error)) {
        check(false, "a headless browser starts: " + error);
        return 1;
    }
    httplib::Client api("127.0.0.1", std::stoi(url.substr(url.rfind(':') + 1)));
    const auto state = [&api]() {
        auto r = api.Get("/api/state");
        return r ? json::parse(r->body) : json();
    };

    driver.go(url);
    check(waitFor([&] { return pageStatus(driver) == "ready"; }), "the page loads and says it is ready");
    check(driver.script("return fetch('/api/state').then((r) => r.headers.get('content-encoding'))").is_null(),
          "the studio's answers come uncompressed, though the browser would take Brotli");
    check(driver.script("return document.querySelectorAll('#palette img').length") == 19,
          "the palette shows the nineteen tool icons");
    check(waitFor([&] {
              return driver.script("return [...document.querySelectorAll('#palette img')].every(i => i.naturalWidth == 32)") ==
                     true;
          }),
          "the icons are drawn");

    // A click on the first row of badges, a Shift-click on the chart.
    clickAt(driver, 84, 50, false);
    check(waitFor([&] { return state()["selection"].size() == 1; }), "a click selects the object under the pointer");
    clickAt(driver, 226, 100, true);
    check(waitFor([&] { return state()["selection"].size() == 2; }), "a Shift-click adds the chart to the selection");
    json s = state();
    check(s["selection"].size() == 2 && s["selection"][0]["id"] == "row1" && s["selection"][1]["id"] == "chart",
          "row1 and chart are selected");
    check(waitFor([&] { return driver.script("return document.querySelectorAll('#selection rect').length") == 2; }),
          "the page outlines both");

    // The Rotate tool's dialog: 20 degrees, pressure taken into account.
    driver.click("[data-tool='rotate']");
    check(waitFor([&] { return driver.script("return !!document.querySelector('#dialog [data-id=\"30\"]')") == true; }),
          "the Rotate tool's options dialog is shown as a form");
    check(driver.script("return document.getElementById('dialog-title').textContent") == "Rotate", "its title is the plug-in's");
    // A value the dialog would make 360 is refused with its limits, and the
    // form shows the angle the next stroke uses.
    const auto angleShown = [&] {
        return driver.script("return document.querySelector('#dialog [data-id=\"30\"]').value").get<std::string>();
    };
    const std::string angleBefore = angleShown();
    const size_t stepsBeforeForm = state()["steps"].get<size_t>();
    typeInto(driver, "#dialog [data-id='30']", "500");
    check(waitFor([&] { return pageStatus(driver).find("refused") == 0; }) &&
              driver.script("return document.getElementById('dialog-problems').textContent")
                      .get<std::string>()
                      .find("\"Rotate\" must lie between -360 and 360, not 500") != std::string::npos,
          "500 in Rotate is refused, by the field's label and with its limits");
    check(waitFor([&] { return angleShown() == angleBefore; }) &&
              driver.script("return document.querySelector('#dialog [data-id=\"30\"]').classList.contains('refused')") == true,
          "the form shows the angle in effect again, marked");
    check(state()["steps"] == stepsBeforeForm, "nothing refused is recorded");
    typeInto(driver, "#dialog [data-id='30']", "20");
    check(waitFor([&] { return pageStatus(driver) == "Rotate set"; }), "Enter applies the angle");
    driver.click("#dialog [data-id='193'] input");
    check(waitFor([&] { return pageStatus(driver) == "Pressure modification set"; }), "a box applies when checked");
    check(state()["steps"] == stepsBeforeForm + 2, "each commit is one options step");
    saveScreenshot(driver, work / "studio-options.png");
    check(driver.script("return document.querySelector('#dialog [data-id=\"30\"]').value") == "20.00",
          "the dialog shows the angle as the plug-in keeps it");

    // A pen stroke across both, pressing lightly, then harder.
    const size_t stepsBefore = state()["steps"].get<size_t>();
    json pen = {{"type", "pointer"}, {"id", "pen"}, {"parameters", {{"pointerType", "pen"}}}, {"actions", json::array()}};
    json &moves = pen["actions"];
    moves.push_back(pointerMove(driver, 10, 60, 0.4));
    moves.push_back({{"type", "pointerDown"}, {"button", 0}, {"pressure", 0.4}});
    for (int i = 1; i <= 14; ++i) moves.push_back(pointerMove(driver, 10 + i * 20, 60 + i * 3, 0.4 + i * 0.04));
    moves.push_back({{"type", "pointerUp"}, {"button", 0}});
    driver.actions(json::array({pen}));
    check(waitFor([&] {
              const json now = state();
              return now["steps"] == stepsBefore + 1 && now["stroking"] == false;
          }),
          "the stroke is painted and recorded");
    // The page says so, and what the stroke changed.
    check(waitFor([&] { return pageStatus(driver).rfind("stroke painted: ", 0) == 0; }), "the page says so");
    check(waitFor([&] { return pageShowsAllChanges(driver, state()); }), "the page shows every change the studio sent");
    check(driver.script("return window.studioShown().peak")
              .get<int>() > 1,
          "the pen's moves went out without waiting for the answers to earlier ones");
    check(shownAsWritten(driver).empty(), "the page shows the painted drawing as the preview writes it");
    saveScreenshot(driver, work / "studio-painted.png");

    // Zoom in with +, the brush one size up with ], and back to the whole page with 0.
    const auto press = [&](const std::string &key) {
        driver.script("document.activeElement && document.activeElement.blur()");
        const json keys = {{"type", "key"}, {"id", "keyboard"},
                           {"actions", {{{"type", "keyDown"}, {"value", key}}, {{"type", "keyUp"}, {"value", key}}}}};
        driver.actions(json::array({keys}));
    };
    const auto shownWidth = [&] {
        return driver.script("return [document.getElementById('overlay').viewBox.baseVal.width,"
                             " document.getElementById('drawing').shadowRoot.querySelector('svg + svg').viewBox.baseVal.width]");
    };
    const double pageWidth = state()["viewBox"][2];
    press("+");
    check(waitFor([&] {
              const json w = shownWidth();
              return std::fabs(w[0].get<double>() - pageWidth / 1.25) < 1e-3 && w[1] == w[0];
          }),
          "+ zooms in, the drawing and what lies over it alike");
    const size_t stepsBeforeBrush = state()["steps"].get<size_t>();
    press("]");
    check(waitFor([&] { return state()["brush"]["hx"] == 62.5 && state()["steps"] == stepsBeforeBrush + 2; }),
          "] makes the brush a size larger, recorded as options steps");
    press("0");
    check(waitFor([&] { return std::fabs(shownWidth()[0].get<double>() - pageWidth) < 1e-3; }), "0 fits the page to the window");

    // A mouse stroke with Shift held cycles the angle; Ctrl+Z takes it back
    // and the Redo button brings exactly it back.
    const auto drawingNow = [&api]() {
        auto r = api.Get("/drawing.svg");
        return r ? r->body : std::string();
    };
    const std::string afterPen = drawingNow();
    const size_t stepsBeforeShift = state()["steps"].get<size_t>();
    const std::string shift = "\xEE\x80\x88", control = "\xEE\x80\x89";
    json mouse = {{"type", "pointer"}, {"id", "mouse"}, {"parameters", {{"pointerType", "mouse"}}},
                  {"actions", {pointerMove(driver, 40, 40), {{"type", "pause"}}, {{"type", "pointerDown"}, {"button", 0}},
                               pointerMove(driver, 90, 45), pointerMove(driver, 140, 50), {{"type", "pointerUp"}, {"button", 0}}}}};
    json shiftKey = {{"type", "key"}, {"id", "keyboard"},
                     {"actions", {{{"type", "pause"}}, {{"type", "keyDown"}, {"value", shift}}, {{"type", "pause"}},
                                  {{"type", "pause"}}, {{"type", "pause"}}, {{"type", "keyUp"}, {"value", shift}}}}};
    driver.actions(json::array({mouse, shiftKey}));
    check(waitFor([&] { return state()["steps"] == stepsBeforeShift + 1 && state()["stroking"] == false; }),
          "a stroke with Shift held is painted");
    const std::string afterShift = drawingNow();
    check(afterShift != afterPen, "it changed the drawing");
    check(waitFor([&] { return driver.script("return document.querySelector('#dialog [data-id=\"30\"]').value") != "20.00"; }),
          "Shift cycled the angle, and the form shows the new one");
    json undoKeys = {{"type", "key"}, {"id", "keyboard"},
                     {"actions", {{{"type", "keyDown"}, {"value", control}}, {{"type", "keyDown"}, {"value", "z"}},
                                  {{"type", "keyUp"}, {"value", "z"}}, {{"type", "keyUp"}, {"value", control}}}}};
    driver.actions(json::array({undoKeys}));
    check(waitFor([&] { return state()["canRedo"] == true; }) && drawingNow() == afterPen, "Ctrl+Z undoes the stroke");
    check(waitFor([&] { return pageShowsAllChanges(driver, state()); }) && shownAsWritten(driver).empty(),
          "the page shows the drawing as undone, from the undo's answer");
    // The button is enabled once the page has the studio's answer to the undo.
    check(waitFor([&] { return pageStatus(driver) == "undone"; }) &&
              driver.script("return document.getElementById('redo').disabled") == false,
          "the page offers Redo");
    driver.click("#redo");
    check(waitFor([&] { return state()["canRedo"] == false; }) && drawingNow() == afterShift,
          "Redo brings the same stroke back");
    check(waitFor([&] { return pageStatus(driver) == "redone"; }), "the page says so");
    check(waitFor([&] { return pageShowsAllChanges(driver, state()); }) && shownAsWritten(driver).empty(),
          "the page shows the drawing as redone");

    // Save from the page.
    driver.type("#save-svg", "painted.svg");
    driver.type("#save-session", "painted-session.json");
    driver.click("#save-button");
    check(waitFor([&] { return pageStatus(driver).rfind("saved", 0) == 0; }), "the page saves the drawing and the session");

    const std::string original = readFile(work / "badges.svg"), painted = readFile(out / "painted.svg");
    check(!painted.empty() && painted != original, "the saved drawing differs from the file");
    bool selectedChanged = false;
    for (const char *id : {"ok-badge", "ok-dot", "ok-label", "bar1", "bar2", "bar3", "axis"})
        selectedChanged = selectedChanged || elementWithId(painted, id) != elementWithId(original, id);
    check(selectedChanged, "objects of the selected row and chart changed");
    for (const char *id : {"board", "row2", "warn-badge", "warn-dot", "warn-label", "row3", "fail-badge", "fail-dot", "fail-label"}) {
        const std::string before = elementWithId(original, id);
        check(!before.empty() && elementWithId(painted, id) == before, std::string("unselected ") + id + " is unchanged");
    }

    const json session = json::parse(readFile(out / "painted-session.json"), nullptr, false);
    check(session.is_object() && session["document"] == "../badges.svg", "the session names the drawing");
    const std::string steps = session.is_object() ? session["steps"].dump() : "";
    check(steps.find(R"({"select":["row1","chart"]})") != std::string::npos, "the session selects row1 and chart");
    check(steps.find(R"({"text":"20","type":30})") != std::string::npos && steps.find(R"({"check":193})") != std::string::npos,
          "the session sets the options as typed in the dialog");
    bool pressured = false, shifted = false;
    for (const json &step : session.value("steps", json::array()))
        if (step.is_object() && step.contains("stroke")) {
            for (const json &p : step["stroke"]["pressure"]) pressured = pressured || (p > 80 && p < 255);
            for (const json &m : step["stroke"]["modifiers"]) shifted = shifted || m == 0x20;
        }
    check(pressured, "the stroke carries the pen's pressure");
    check(shifted, "the Shift stroke carries the modifier bit 0x20");
    check(steps.find("\"undo\"") == std::string::npos, "the redone undo is not in the session");

    fs::create_directories(replay);
    const std::string command = smearhost + " run " + (out / "painted-session.json").string() + " --out-dir " +
                                replay.string() + " > " + (work / "replay.txt").string() + " 2>&1";
    check(std::system(command.c_str()) == 0, "smearhost run plays the saved session");
    check(readFile(replay / "painted.svg") == painted, "the session replays to the same file");

    // One more stroke, not saved, and the studio is killed outright: started
    // again the same way, it takes up its journal.
    const size_t stepsSaved = state()["steps"].get<size_t>();
    driver.actions(json::array({mouse}));
    check(waitFor([&] { return state()["steps"] == stepsSaved + 1 && state()["stroking"] == false; }),
          "a stroke after the save is painted");
    const std::string beforeKill = drawingNow();
    const json stepsBeforeKill = state()["steps"];
    studio.signal(SIGKILL);
    Child again({smearhost, "studio", (work / "badges.svg").string(), "--port", "0", "--out-dir", out.string()}, true);
    std::string againUrl;
    bool tookUp = false;
    while (againUrl.empty() && again.readLine(line, 30)) {
        std::smatch m;
        tookUp = tookUp || line.find("took up") != std::string::npos;
        if (std::regex_search(line, m, std::regex("http://127\\.0\\.0\\.1:[0-9]+/"))) againUrl = m.str();
    }
    check(tookUp && !againUrl.empty(), "a studio started after SIGKILL says it took up the journal");
    httplib::Client againApi("127.0.0.1", againUrl.empty() ? 1 : std::stoi(againUrl.substr(againUrl.rfind(':') + 1)));
    const auto againState = againApi.Get("/api/state");
    const auto againDrawing = againApi.Get("/drawing.svg");
    check(againState && json::parse(againState->body)["steps"] == stepsBeforeKill && againDrawing &&
              againDrawing->body == beforeKill,
          "the drawing is as it was after the last stroke before the kill");
    check(readFile(work / "badges.svg") == original, "the opened file was never written");
    driver.go(againUrl);
    check(waitFor([&] { return pageStatus(driver) == "ready"; }) && shownAsWritten(driver).empty(),
          "the page shows the drawing taken up");
    again.signal(SIGTERM);
    bool kept = false;
    while (again.readLine(line, 10))
        kept = kept || line.find("kept in " + (out / "badges.studio-journal").string()) != std::string::npos;
    check(kept, "stopped with a stroke not saved, the studio says where the journal is");
    check(again.stop(), "the studio stops cleanly on SIGTERM");

    theDrawingNeverRuns(smearhost, work, driver);

    driver.quit();
    driverProcess.stop();
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::cerr << "usage: studio_browser_test SMEARHOST DRAWING.svg WORK_DIR\n";
        return 2;
    }
    int code = 1;
    try {
        code = run(argv[1], argv[2], argv[3]);
    } catch (const std::exception &e) {
        check(false, std::string("the browser test ran to its end: ") + e.what());
    }
    if (code != 77) std::cout << passed << " passed, " << failed << " failed" << std::endl;
    return code == 77 ? 77 : (failed == 0 && code == 0 ? 0 : 1);
}
