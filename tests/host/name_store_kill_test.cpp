// A name written through "RM" survives the process being killed right after.
// POSIX only: it forks the writer and kills it with SIGKILL, and Windows has
// neither fork nor signals. The Windows build registers a skipped test that
// says so (tests/host/CMakeLists.txt); what it checks, a committed SQLite
// transaction, behaves the same there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "kovo_script_test.h"
#include "name_store.h"
#include "script_runner.h"
#include "simulator.h"
#include "site_directory.h"
#include "test_site.h"

using namespace kovo_host;

namespace {

// Runs child in a forked process that then kills itself; returns the signal it died of.
template <typename Fn>
int inKilledChild(Fn child) {
    const pid_t pid = fork();
    if (pid == 0) {
        child();
        raise(SIGKILL);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace

TEST(NameStoreKill, CommittedWriteSurvivesSigkill) {
    test_site files;
    site_directory site;
    std::string error;
    ASSERT_TRUE(site.open(files.dir(), error));
    const std::string path = files.store();
    EXPECT_EQ(inKilledChild([&] {
                  name_store store;
                  std::string e;
                  if (store.open(path, site, e)) {
                      store.put(7, 1, 2, "Studio 4", e);
                  }
              }),
              SIGKILL);
    name_store store;
    ASSERT_TRUE(store.open(path, site, error)) << error;
    EXPECT_EQ(store.get(7, 1, 2).value_or("?"), "Studio 4");
    EXPECT_EQ(store.get(7, 0, 1).value_or("?"), "Camera 1");
}

TEST(NameStoreKill, RmFromAPlugInSurvivesSigkill) {
    kovo_host_testing::temp_directory state;
    simulator_options options = kovo_host_testing::testOptions(state.path());
    options.dbFile = state.path() + "/demo.sqlite";
    options.captureDebugOutput = false;
    EXPECT_EQ(inKilledChild([&] {
                  simulator sim(options);
                  std::string e;
                  host_error failed;
                  if (sim.useSite(options.siteDir, e) &&
                      sim.load("p", "kovo_host_probe", "tests/host/layouts", true, -1, failed)) {
                      sim.event("p", "1", "Relay", "send=RM 101 0 5 'Killed Cam' 0", failed);
                  }
              }),
              SIGKILL);
    simulator sim(options);
    std::string name, error;
    bool found = false;
    ASSERT_TRUE(sim.useSite(options.siteDir, error));
    ASSERT_TRUE(sim.storedName(101, 0, 5, name, found, error)) << error;
    EXPECT_TRUE(found);
    EXPECT_EQ(name, "Killed Cam");
}
