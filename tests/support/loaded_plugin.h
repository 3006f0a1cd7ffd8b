// A built plug-in opened for a test, with the one script its export created.
// Whoever includes this links kovo_os_host.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kovo_interface.h"
#include "kovo_os_host.h"

class LoadedPlugin {
  public:
    LoadedPlugin() = default;
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;
    ~LoadedPlugin() { unload(); }

    // Opens the library at path and creates its script on link for instance; the
    // failure says which step failed.
    testing::AssertionResult load(const char* path, kovo_host_link* link, const char* instance) {
        std::string error;
        if (!library_.open(path, error)) {
            return testing::AssertionFailure() << "cannot open " << path << ": " << error;
        }
        const auto create =
            reinterpret_cast<kovo_load_function>(library_.symbol(KOVO_LOAD_FUNCTION_NAME));
        if (create == nullptr) {
            return testing::AssertionFailure() << path << " has no " << KOVO_LOAD_FUNCTION_NAME;
        }
        script_ = create(link, instance);
        if (script_ == nullptr) {
            return testing::AssertionFailure() << KOVO_LOAD_FUNCTION_NAME << " returned null";
        }
        return testing::AssertionSuccess();
    }

    kovo_client_callback* script() const { return script_; }

    // The script's destructor still sends to the link; the library stays open.
    void destroyScript() {
        delete script_;
        script_ = nullptr;
    }
    // The script goes before the library that holds its code.
    void unload() {
        destroyScript();
        library_.close();
    }

  private:
    kovo_os::plugin_library library_;
    kovo_client_callback* script_ = nullptr;
};
