#include "validator_steps.h"

#include <climits>
#include <fstream>
#include <map>
#include <sstream>

#include "panel_state.h"

namespace kovo_host {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

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
    std::string line = "load " + settings_.scriptName + " " + settings_.plugin;
    if (!settings_.instance.empty()) {
        line += " instance=" + settings_.instance;
    }
    if (settings_.workstation >= 0) {
        line += " workstation=" + std::to_string(settings_.workstation);
    }
    return line;
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
        return {"advance " + std::to_string(pick(waits))};
    }
    if (roll < 76) {
        return {renameLine(sim)};
    }
    if (roll < 99) {
        return hostileStep(sim);
    }
    return {"unload " + settings_.scriptName, loadLine()};
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
    const std::string where = name + " " + chosen.first->id + " " + chosen.second->id;
    const control_state& control = *chosen.second;
    std::vector<std::string> lines;
    // Now and then the host answers this action's questions badly.
    const bool hostileAnswers = chance(8);
    if (hostileAnswers) {
        static const std::vector<std::string> modes = {"none", "empty", "huge", "quote",
                                                       "nonnumber"};
        lines.push_back("answers " + pick(modes));
    }
    switch (control.kind) {
        case control_kind::list:
            if (control.entries.empty()) {
                lines.push_back("event " + where + " " + pick(hostileEventTexts()));
            } else {
                lines.push_back("choose " + where + " " +
                                std::to_string(below(control.entries.size())));
            }
            break;
        case control_kind::keyboard:
            lines.push_back("type " + where + " " + pick(typedTexts()));
            break;
        case control_kind::groupselector:
            lines.push_back("choose " + where + " " + std::to_string(1 + below(12)));
            break;
        case control_kind::namemap:
            lines.push_back("choose " + where + " " + std::to_string(1 + below(30)));
            break;
        default:
            lines.push_back("press " + where);
            break;
    }
    if (hostileAnswers) {
        lines.push_back("answers normal");
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
        return "advance 1";
    }
    std::vector<const device_info*> devices;
    for (const auto& device : site->devices()) {
        if (!device.second.databaseSizes.empty()) {
            devices.push_back(&device.second);
        }
    }
    if (devices.empty()) {
        return "advance 1";
    }
    const device_info& device = *pick(devices);
    auto database = device.databaseSizes.begin();
    std::advance(database, static_cast<long>(below(device.databaseSizes.size())));
    if (database->second < 1) {
        return "advance 1";
    }
    const int size = database->second;
    const int index = 1 + static_cast<int>(below(static_cast<std::size_t>(std::min(size, 260))));
    return "rename " + std::to_string(device.number) + " " + std::to_string(database->first) + " " +
           std::to_string(index) + " " + hostileName();
}

std::string step_generator::rawEvent(const simulator& sim) {
    const std::string& name = settings_.scriptName;
    const std::vector<const panel_state*> shown = shownPanels(sim, name);
    // The disabled or hidden controls as "panel control", those seen reachable
    // earlier in the run apart: a press the plug-in itself has just refused.
    struct blocked_control {
        std::string where;
        bool keyboard;
    };
    std::vector<blocked_control> stale, blocked;
    std::vector<const control_state*> all;
    for (const panel_state* panel : shown) {
        for (const control_state& control : panel->controls) {
            all.push_back(&control);
            if (!reachable(control)) {
                std::string where = panel->id + " " + control.id;
                const bool seen = seenReachable_.count(where) != 0;
                (seen ? stale : blocked)
                    .push_back({std::move(where), control.kind == control_kind::keyboard});
            }
        }
    }
    const std::string shownId = shown.empty() ? std::string("1") : shown.front()->id;
    const int kind = static_cast<int>(below(4));
    if (kind == 0 && !(stale.empty() && blocked.empty())) {
        const blocked_control& control =
            stale.empty() || (!blocked.empty() && chance(25)) ? pick(blocked) : pick(stale);
        const std::string text = control.keyboard ? "text=" + pick(typedTexts())
                                 : chance(70)     ? std::string("button=released")
                                                  : pick(hostileEventTexts());
        return "event " + name + " " + control.where + " " + text;
    }
    if (kind == 1 && !all.empty()) {
        return "event " + name + " " + shownId + " " + pick(all)->id + " " +
               pick(hostileEventTexts());
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
    return "event " + name + " " + pick(panels) + " " + control + " " + pick(hostileEventTexts());
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
            return {"dbevent " + name + " " + std::to_string(device) + " " +
                    std::to_string(pick(databases)) + " " + std::to_string(pick(oddNumbers())) +
                    " " + hostileName()};
        }
        case 3:
            return {"tick " + name + " " + std::to_string(pick(oddNumbers()))};
        default: {
            const std::string& query = pick(parentQueries());
            return {query.empty() && chance(50) ? "query " + name : "query " + name + " " + query};
        }
    }
}

}  // namespace kovo_host
