#include "plugin_scenarios.h"

#include <cstdint>
#include <filesystem>

#include "kovo_events.h"

namespace kovo_bench {

namespace {

constexpr int routerNames = 4096;

bench_event press(const char* panel, const char* control) {
    return bench_event{panel, control, "button=released", 0};
}
bench_event send(const char* panel, const char* control, const char* text) {
    return bench_event{panel, control, text, 0};
}
bench_event tick(int timer) {
    return bench_event{nullptr, nullptr, nullptr, timer};
}

// Area "Bench", names, sources, router "Vid": everything short of DoEdit.
std::vector<bench_event> namesChoice() {
    return {press("1", "Area_name_0"), press("1", "Type_1"), press("1", "Edit_what_1"),
            press("1", "Router_1")};
}

std::vector<bench_event> with(std::vector<bench_event> first,
                              const std::vector<bench_event>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

using answers = std::vector<std::pair<std::string, std::string>>;

// The names editor of router "Vid" on the generated site of routerNames names.
scenario corvane(const char* name, answers gets, std::vector<bench_event> setup,
                 std::vector<bench_event> cycle) {
    return {name, "Corvane",       routerNames,      nullptr,
            12,   std::move(gets), std::move(setup), std::move(cycle)};
}
// Workstation 12 of a site of the source tree.
scenario onSite(const char* name, const char* plugin, const char* site, answers gets,
                std::vector<bench_event> setup, std::vector<bench_event> cycle) {
    return {name, plugin, 0, site, 12, std::move(gets), std::move(setup), std::move(cycle)};
}

std::vector<scenario> buildScenarios() {
    const std::vector<bench_event> editorOpen = with(namesChoice(), {press("1", "DoEdit")});
    const std::vector<bench_event> mapOpen = {press("1", "XPT_map_11"), press("1", "FN_1"),
                                              press("1", "Edit")};
    const char* const mapSite = "tests/lindqar/sites/basic";
    return {
        corvane("corvane_names_open", {}, {}, with(editorOpen, {press("2", "Home")})),
        corvane("corvane_list_choices", {}, editorOpen,
                {send("2", "MtxNames", "selected=001 = Camera 1"),
                 send("2", "MtxNames", "selected=002 = Camera 2"),
                 send("2", "MtxNames", "selected=100 = Camera 100"),
                 send("2", "MtxNames", "selected=4096 = Camera 4096")}),
        corvane("corvane_edit_cycles",
                {{"TG '2' 'LongName' 'text'", "text=Camera 2"},
                 {"TG '2' 'ShortName' 'text'", "text=Cam3"},
                 {"TG '2' 'KB_1' 'text'", "text=Wide Shot"}},
                editorOpen,
                {send("2", "MtxNames", "selected=002 = Camera 2"), press("2", "LongName"),
                 send("2", "KB_1", "text=Wide Shot"), press("2", "Update"),
                 send("2", "MtxNames", "selected=003 = Camera 3"), press("2", "ShortName"),
                 send("2", "KB_1", "text=Wide Shot"), tick(1), press("2", "Cancel")}),
        onSite("lindqar_map_open", "Lindqar", mapSite, {}, {},
               with(mapOpen, {press("2", "Cancel")})),
        onSite("lindqar_map_edits", "Lindqar", mapSite,
               {{"TG '2' 'xpoints' 'selectedindex'", "selectedindex=4"}}, mapOpen,
               {press("2", "Group_3"), press("2", "Element_2"), send("2", "xpoints", "selected=x"),
                press("2", "SetMap"), press("2", "Save_to_Network"), press("2", "Element_2"),
                press("2", "ClearMap"), press("2", "Save_to_Network")}),
        onSite("tavisk_select", "Tavisk", "sites/demo", {}, {},
               {press("1", "WS_01"), press("1", "WS_03"), press("1", "WS_01"), press("1", "WS_03"),
                press("1", "AllWS"), press("1", "Cancel")}),
        onSite("tavisk_confirm", "Tavisk", "sites/demo", {}, {},
               {press("1", "WS_03"), press("1", "WS_01"), press("1", "Shutdown"),
                press("1", "Confirm"), tick(1)}),
        onSite("tavisk_cancel", "Tavisk", "sites/demo", {}, {},
               {press("1", "WS_05"), press("1", "WS_02"), press("1", "Cancel"), press("1", "WS_01"),
                press("1", "Restart"), press("1", "Cancel")}),
    };
}

}  // namespace

const std::vector<scenario>& scenarios() {
    static const std::vector<scenario> all = buildScenarios();
    return all;
}

const scenario* findScenario(const std::string& name) {
    for (const scenario& s : scenarios()) {
        if (name == s.name) {
            return &s;
        }
    }
    return nullptr;
}

scenario_run::scenario_run(const scenario& s) {
    std::string siteDir;
    if (s.generatedNames > 0) {
        site_ = std::make_unique<bench_site>(s.generatedNames, 0);
        siteDir = site_->dir();
    } else {
        siteDir = (std::filesystem::path(sourceDir()) / s.siteDir).string();
    }
    if (!host_.loadNames(siteDir, error_)) {
        return;
    }
    for (const auto& get : s.gets) {
        host_.answerGet(get.first, get.second);
    }
    useSite(siteDir, s.workstation);
    const std::string path = pluginPath(s.plugin);
    if (!library_.open(path, error_)) {
        return;
    }
    const auto create =
        reinterpret_cast<kovo_load_function>(library_.symbol(KOVO_LOAD_FUNCTION_NAME));
    if (create == nullptr) {
        error_ = path + " has no " KOVO_LOAD_FUNCTION_NAME;
        return;
    }
    const std::string instance = std::string("panels/System/") + s.plugin;
    script_ = create(&host_, instance.c_str());
    if (script_ == nullptr) {
        error_ = "the export returned null";
        return;
    }
    for (const bench_event& e : s.setup) {
        prepared_event once = prepare(e);
        deliver(once);
    }
    for (const bench_event& e : s.cycle) {
        cycle_.push_back(prepare(e));
    }
}

scenario_run::~scenario_run() {
    delete script_;
    library_.close();
}

scenario_run::prepared_event scenario_run::prepare(const bench_event& e) const {
    prepared_event p{nullptr, kovo_control_record{}, e.timer};
    if (e.panel != nullptr) {
        p.text = std::make_unique<kovo_key_value>(e.text);
        p.record = kovo_control_record{nullptr, nullptr, e.panel, e.control, p.text.get()};
    }
    return p;
}

void scenario_run::deliver(prepared_event& e) {
    if (e.text == nullptr) {
        script_->hostCallback(reinterpret_cast<void*>(static_cast<std::intptr_t>(e.timer)),
                              KOVO_EVENT_TIMER);
        return;
    }
    script_->hostCallback(&e.record, KOVO_EVENT_CONTROL);
}

void scenario_run::cycle() {
    for (prepared_event& e : cycle_) {
        deliver(e);
    }
}

}  // namespace kovo_bench
