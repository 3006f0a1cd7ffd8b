// Cost of one settings lookup on a large site: open a configuration group and
// walk it to one setting, as every settings lookup of a panel does.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "kovo_config.h"

namespace {

constexpr int kObjects = 5000;
constexpr int kSettingsPerObject = 8;

class bench_site {
  public:
    bench_site() {
        std::random_device seed;
        root_ = std::filesystem::temp_directory_path() / ("kovo_bench_" + std::to_string(seed()));
        const auto dir = root_ / "site" / "config" / "system";
        std::filesystem::create_directories(dir);
        file_ = dir / "object_settings.xml";
        std::ofstream out(file_);
        out << "<?xml version=\"1.0\"?>\n<object_settings>\n";
        for (int o = 0; o < kObjects; ++o) {
            out << "  <object id=\"object_" << o << "\">\n";
            for (int s = 0; s < kSettingsPerObject; ++s) {
                out << "    <setting id=\"setting_" << s << "\" value=\"value " << o << '.' << s
                    << "\"/>\n";
            }
            out << "  </object>\n";
        }
        out << "</object_settings>\n";
        out.close();
        ::setenv("RX_ROOT", root_.c_str(), 1);
        ::setenv("RX_SYSTEM", "site", 1);
    }
    ~bench_site() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    bench_site(const bench_site&) = delete;
    bench_site& operator=(const bench_site&) = delete;

    // Moves the modification time on, so the next lookup must parse again.
    void touch() {
        stamp_ += std::chrono::seconds(1);
        std::filesystem::last_write_time(file_, stamp_);
    }
    std::uintmax_t size() const { return std::filesystem::file_size(file_); }

  private:
    std::filesystem::path root_;
    std::filesystem::path file_;
    std::filesystem::file_time_type stamp_ = std::filesystem::file_time_type::clock::now();
};

bench_site& site() {
    static bench_site instance;
    return instance;
}

// The lookup a panel makes: the value of the setting with the given id.
kovo_string lookup(const kovo_string& object, const kovo_string& id) {
    kovo_config config(kovo_string("object_settings.%1").arg(object));
    for (; config.isChildValid(); config.nextChild()) {
        if (config.childAttr("id") == id) {
            return config.childAttr("value");
        }
    }
    return kovo_string();
}

void BM_LookupCached(benchmark::State& state) {
    site();
    const kovo_string object = kovo_string("object_%1").arg(kObjects - 1);
    const kovo_string id = kovo_string("setting_%1").arg(kSettingsPerObject - 1);
    lookup(object, id);  // the first load parses
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(object, id));
    }
}
BENCHMARK(BM_LookupCached);

void BM_LookupAfterFileChange(benchmark::State& state) {
    const kovo_string object = kovo_string("object_%1").arg(kObjects / 2);
    const kovo_string id("setting_0");
    for (auto _ : state) {
        state.PauseTiming();
        site().touch();
        state.ResumeTiming();
        benchmark::DoNotOptimize(lookup(object, id));
    }
    state.counters["file_bytes"] = static_cast<double>(site().size());
}
BENCHMARK(BM_LookupAfterFileChange)->Unit(benchmark::kMillisecond);

void BM_LookupMissingGroup(benchmark::State& state) {
    site();
    const kovo_string object("no_such_object");
    const kovo_string id("setting_0");
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(object, id));
    }
}
BENCHMARK(BM_LookupMissingGroup);

}  // namespace

BENCHMARK_MAIN();
