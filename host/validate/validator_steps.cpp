#include "validator_steps.h"

#include <climits>
#include <map>

#include "panel_state.h"
#include "script_writer.h"

namespace kovo_host {

namespace {

// Event texts a host might deliver: no "=", numbers at and past the int
// limits, quotes, control characters, invalid UTF-8, a long text.
const std::vector<std::string>& hostileEventTexts() {
    static const std::vector<std::string> texts = {
        "button=released",
        "",
        "=",
        "noequals",
        "index=2147483647",
        "index=-2147483648",
        "index=99999999999",
        "index=-1",
        "index=0",
        "index=1",
        "index=7",
        "index=31",
        "index=x",
        "selected=",
        "selected=001 O'Brien",
        "selected=2147483647 x",
        "selected=-5",
        "text=O'Brien",
        "text=" + std::string(5000, 'A'),
        "text=\xff\xfe\xc3",
        "text=\x01\x02\x1b",
        "value='';'",
        "button=pressed",
        "button.001=released",
        "index=1'",
        "'='",
    };
    return texts;
}

const std::vector<std::string>& typedTexts() {
    static const std::vector<std::string> texts = {
        "Cam 1",
        "",
        "O'Brien",
        "ABCDEFGHIJKLMNOPQRSTU",
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",
        "tab\there",
        "\x01\x7f",
        "'",
        "12345678",
        "Camera 10",
        "Sixteen Bytes Ok",
        "VT 2",
        std::string(300, 'n'),
    };
    return texts;
}

const std::vector<std::string>& parentQueries() {
    static const std::vector<std::string> queries = {
        "return=all",
        "return=myParam",
        "return=x",
        "instance=i'q",
        "myParam=v'1",
        "_events",
        "_commands",
        "",
        "=",
        "noequals",
        std::string(3000, 'q') + "=1",
    };
    return queries;
}

const std::vector<int>& oddNumbers() {
    static const std::vector<int> numbers = {0,  1,   2,   3,   4,   5,   8,    -1,      12,
                                             13, 101, 112, 201, 251, 252, 1000, INT_MAX, INT_MIN};
    return numbers;
}

// The panels a script shows now, in showing order.
std::vector<const panel_state*> shownPanels(const simulator& sim, const std::string& name) {
    std::vector<const panel_state*> panels;
    const std::vector<std::string>* ids = sim.shownPanels(name);
    const std::map<std::string, panel_state>* announced = sim.announcedPanels(name);
    if (ids == nullptr || announced == nullptr) {
        return panels;
    }
    for (const std::string& id : *ids) {
        auto found = announced->find(id);
        if (found != announced->end()) {
            panels.push_back(&found->second);
        }
    }
    return panels;
}

bool reachable(const control_state& control) {
    return control.enabled && control.visible;
}

}  // namespace

std::uint64_t runSeed(std::uint64_t seed, int run) {
    // splitmix64 of the pair: neighbouring runs get unrelated streams.
    std::uint64_t z = seed * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(run) + 1;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

step_generator::step_generator(std::uint64_t seed, int run, step_settings settings)
    : random_(runSeed(seed, run)), settings_(std::move(settings)) {}

std::size_t step_generator::below(std::size_t n) {
    // Plain modulo keeps the stream the same on every standard library.
    return n == 0 ? 0 : static_cast<std::size_t>(random_() % n);
}

bool step_generator::chance(int percent) {
    return static_cast<int>(below(100)) < percent;
}

std::string step_generator::loadLine() const {
    const std::string& name = settings_.scriptName;
    return writeScriptLine(settings_.instance.empty()
                               ? kovo_host::loadLine(name, settings_.plugin, settings_.workstation)
                               : kovo_host::loadLine(name, settings_.plugin, settings_.instance,
                                                     settings_.workstation));
}

void step_generator::noteReachable(const simulator& sim) {
    for (const panel_state* panel : shownPanels(sim, settings_.scriptName)) {
        for (const control_state& control : panel->controls) {
            if (reachable(control)) {
                seenReachable_.insert(panel->id + " " + control.id);
            }
        }
    }
}

std::vector<std::string> step_generator::next(const simulator& sim) {
    if (!sim.isLoaded(settings_.scriptName)) {
        return {loadLine()};
    }
    noteReachable(sim);
    const int roll = static_cast<int>(below(100));
    if (roll < 62) {
        return operatorStep(sim);
    }
    if (roll < 72) {
        static const std::vector<int> waits = {100, 250, 1000, 1000, 3000, 10000, 12000};
        return {writeScriptLine(advanceLine(pick(waits)))};
    }
    if (roll < 76) {
        return {renameLine(sim)};
    }
    if (roll < 99) {
        return hostileStep(sim);
    }
    return {writeScriptLine(unloadLine(settings_.scriptName)), loadLine()};
}

std::vector<std::string> step_generator::operatorStep(const simulator& sim) {
    const std::string& name = settings_.scriptName;
    std::vector<std::pair<const panel_state*, const control_state*>> candidates;
    for (const panel_state* panel : shownPanels(sim, name)) {
        for (const control_state& control : panel->controls) {
            if (reachable(control)) {
                candidates.emplace_back(panel, &control);
            }
        }
    }
    if (candidates.empty()) {
        return hostileStep(sim);
    }
    const auto& chosen = pick(candidates);
    const std::string& panel = chosen.first->id;
    const control_state& control = *chosen.second;
    std::vector<std::string> lines;
    // Now and then the host answers this action's questions badly.
    const bool hostileAnswers = chance(8);
    if (hostileAnswers) {
        static const std::vector<std::string> modes = {"none", "empty", "huge", "quote",
                                                       "nonnumber"};
        lines.push_back(writeScriptLine(answersLine(pick(modes))));
    }
    script_line action;
    switch (control.kind) {
        case control_kind::list:
            action = control.entries.empty()
                         ? eventLine(name, panel, control.id, pick(hostileEventTexts()))
                         : chooseLine(name, panel, control.id,
                                      static_cast<int>(below(control.entries.size())));
            break;
        case control_kind::keyboard:
            action = typeLine(name, panel, control.id, pick(typedTexts()));
            break;
        case control_kind::groupselector:
            action = chooseLine(name, panel, control.id, 1 + static_cast<int>(below(12)));
            break;
        case control_kind::namemap:
            action = chooseLine(name, panel, control.id, 1 + static_cast<int>(below(30)));
            break;
        default:
            action = pressLine(name, panel, control.id);
            break;
    }
    lines.push_back(writeScriptLine(action));
    if (hostileAnswers) {
        lines.push_back(writeScriptLine(answersLine("normal")));
    }
    return lines;
}

std::string step_generator::hostileName() {
    static const std::vector<std::string> names = {
        "O'Brien",     "",
        "x\x01y",      std::string(300, 'L'),
        "000,017,000", "001,000,003,000,000,000,000,000,000,000,000,000",
        "\xff\xfe",    "Cam 9",
        "a'b'c",       "-1",
    };
    return pick(names);
}

std::string step_generator::renameLine(const simulator& sim) {
    const site_directory* site = sim.site();
    if (site == nullptr || site->devices().empty()) {
        return writeScriptLine(advanceLine(1));
    }
    std::vector<const device_info*> devices;
    for (const auto& device : site->devices()) {
        if (!device.second.databaseSizes.empty()) {
            devices.push_back(&device.second);
        }
    }
    if (devices.empty()) {
        return writeScriptLine(advanceLine(1));
    }
    const device_info& device = *pick(devices);
    auto database = device.databaseSizes.begin();
    std::advance(database, static_cast<long>(below(device.databaseSizes.size())));
    if (database->second < 1) {
        return writeScriptLine(advanceLine(1));
    }
    const int size = database->second;
    const int index = 1 + static_cast<int>(below(static_cast<std::size_t>(std::min(size, 260))));
    return writeScriptLine(
        kovo_host::renameLine(device.number, database->first, index, hostileName()));
}

std::string step_generator::rawEvent(const simulator& sim) {
    const std::string& name = settings_.scriptName;
    const std::vector<const panel_state*> shown = shownPanels(sim, name);
    // The disabled or hidden controls, those seen reachable earlier in the run
    // apart: a press the plug-in itself has just refused.
    struct blocked_control {
        const std::string& panel;
        const control_state& control;
    };
    std::vector<blocked_control> stale, blocked;
    std::vector<const control_state*> all;
    for (const panel_state* panel : shown) {
        for (const control_state& control : panel->controls) {
            all.push_back(&control);
            if (!reachable(control)) {
                const bool seen = seenReachable_.count(panel->id + " " + control.id) != 0;
                (seen ? stale : blocked).push_back({panel->id, control});
            }
        }
    }
    // Where one line takes several draws, they are made from the end of the line
    // back, each in a statement of its own: the order GCC builds have always
    // drawn them in, so a seed still gives the run it gave, now with any compiler.
    const std::string shownId = shown.empty() ? std::string("1") : shown.front()->id;
    const int kind = static_cast<int>(below(4));
    if (kind == 0 && !(stale.empty() && blocked.empty())) {
        const blocked_control& target =
            stale.empty() || (!blocked.empty() && chance(25)) ? pick(blocked) : pick(stale);
        const std::string text = target.control.kind == control_kind::keyboard
                                     ? "text=" + pick(typedTexts())
                                 : chance(70) ? std::string("button=released")
                                              : pick(hostileEventTexts());
        return writeScriptLine(eventLine(name, target.panel, target.control.id, text));
    }
    if (kind == 1 && !all.empty()) {
        const std::string& text = pick(hostileEventTexts());
        return writeScriptLine(eventLine(name, shownId, pick(all)->id, text));
    }
    static const std::vector<std::string> panels = {"1", "2", "3", "4", "0", "5", "01", "x"};
    static const std::vector<std::string> controls = {
        "Nope",           "WS_11",        "WS_00",
        "WS_99999999999", "Area_name_99", "XPT_map_0",
        "FN_7",           "Update",       "Save_to_Network",
        "Cancel",         "KB_1",         "Confirm",
        "Home",           "FN_'",         ""};
    std::string control = pick(controls);
    if (control.empty() && !all.empty()) {
        control = pick(all)->id;
    }
    if (control.empty()) {
        control = "Nope";
    }
    const std::string& text = pick(hostileEventTexts());
    return writeScriptLine(eventLine(name, pick(panels), control, text));
}

std::vector<std::string> step_generator::hostileStep(const simulator& sim) {
    const std::string& name = settings_.scriptName;
    switch (below(5)) {
        case 0:
        case 1:
            return {rawEvent(sim)};
        case 2: {
            int device = pick(oddNumbers());
            const site_directory* site = sim.site();
            if (site != nullptr && !site->devices().empty() && chance(60)) {
                auto known = site->devices().begin();
                std::advance(known, static_cast<long>(below(site->devices().size())));
                device = known->first;
            }
            static const std::vector<int> databases = {0, 1, 2, 3, 4, 5, 8, -1, 64, INT_MAX};
            // Drawn from the end of the line, as in rawEvent.
            const std::string text = hostileName();
            const int index = pick(oddNumbers());
            const int database = pick(databases);
            return {writeScriptLine(dbeventLine(name, device, database, index, text))};
        }
        case 3:
            return {writeScriptLine(tickLine(name, pick(oddNumbers())))};
        default: {
            const std::string& query = pick(parentQueries());
            const bool nullQuery = query.empty() && chance(50);
            return {writeScriptLine(queryLine(name, query, !nullQuery))};
        }
    }
}

}  // namespace kovo_host
