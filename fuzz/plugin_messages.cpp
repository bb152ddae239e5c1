// The plug-in under messages in the order a host sends them, chosen by the
// input bytes: startup, then any of strokes (mouse down, drags, mouse up),
// options dialogs with queued actions, cursor tracking, about, unload and
// reload, and at the end shutdown. The document is a small drawing with one
// object of each kind the tools treat apart, all of it selected: small, so
// that each input costs what its messages do.
#include <sys/prctl.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "host.h"
#include "session.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace {

class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    // A coordinate over the drawing's page and a little past it.
    AIReal coordinate() { return AIReal(int(next()) - 28); }

private:
    const uint8_t *data_;
    size_t size_, at_ = 0;
};

const char *const kTools[] = {"rotate", "scaling", "translate", "tint", "transparency",
                              "gradient", "pattern", "styles", "swatches"};

}  // namespace

// Each input makes a document or two, whose art arena reserves a block of
// 2 MiB: without huge pages only the pages a small drawing touches are
// cleared, not the whole block, every time.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using smear::SessionStep;
    if (size > 512) return 0;
    Bytes in(data, size);
    smear::Session session;
    session.document = std::string(SMEAR_SOURCE_DIR) + "/fuzz/small_drawing.svg";
    session.seed = in.next();
    SessionStep select;
    select.kind = SessionStep::Kind::Select;
    select.selectAll = true;
    session.steps = {SessionStep{}, select};  // startup first
    while (in.more() && session.steps.size() < 40) {
        SessionStep step;
        const uint8_t what = in.next();
        step.tool = kTools[in.next() % (sizeof kTools / sizeof *kTools)];
        switch (what % 6) {
        case 0:
        case 1: {
            step.kind = SessionStep::Kind::Stroke;
            const int points = 2 + in.next() % 12;
            for (int i = 0; i < points; ++i) {
                step.points.push_back(AIRealPoint{in.coordinate(), in.coordinate()});
                step.pressure.push_back(ASInt16(in.next()));
            }
            for (int i = 1; i < points; ++i) step.modifiers.push_back(ASInt32(in.next() & 0x0f));
            break;
        }
        case 2: {
            step.kind = SessionStep::Kind::Options;
            const int actions = in.next() % 6;
            for (int i = 0; i < actions; ++i) {
                smear::DialogAction a{};
                a.kind = smear::DialogAction::Kind(in.next() % 7);
                a.item = in.next() % 24;
                a.entry = in.next() % 8;
                a.text = std::to_string(int(int8_t(in.next())) * 7) + (in.next() & 1 ? ".5" : "");
                step.actions.push_back(a);
            }
            break;
        }
        case 3:
            step.kind = SessionStep::Kind::Cursor;
            step.points.push_back(AIRealPoint{in.coordinate(), in.coordinate()});
            break;
        case 4: step.kind = SessionStep::Kind::About; break;
        default:
            step.kind = SessionStep::Kind::Unload;
            session.steps.push_back(step);
            step.kind = SessionStep::Kind::Reload;
            break;
        }
        session.steps.push_back(step);
    }
    SessionStep shutdown;
    shutdown.kind = SessionStep::Kind::Shutdown;
    session.steps.push_back(shutdown);

    smear::Host host;
    std::string error;
    if (!host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error)) __builtin_trap();
    std::ostringstream report;
    smear::SessionRunner runner(host, report);
    runner.confineSaves = true;
    runner.run(session, error);
    runner.quit();
    return 0;
}
