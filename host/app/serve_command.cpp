#include "serve_command.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <thread>

#include "command_usage.h"
#include "http_api.h"
#include "numbers.h"
#include "request_guard.h"
#include "serve_session.h"

namespace kovo_host {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int) {
    stopRequested = 1;
}

struct load_request {
    std::string name, plugin;
    int workstation = -1;
};

// NAME=PLUGIN or NAME=PLUGIN:workstation=N
bool parseLoad(const std::string& text, load_request& load) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        return false;
    }
    load.name = text.substr(0, equals);
    load.plugin = text.substr(equals + 1);
    const std::string option = ":workstation=";
    const std::size_t colon = load.plugin.find(option);
    if (colon != std::string::npos) {
        if (!parseNumber(load.plugin.substr(colon + option.size()), load.workstation) ||
            load.workstation < 0) {
            return false;
        }
        load.plugin.erase(colon);
    }
    return !load.plugin.empty();
}

}  // namespace

int runServe(const std::vector<std::string>& args, const simulator_options& options) {
    kovo_serve::server_settings settings;
    settings.webRoot = kovo_serve::defaultWebRoot();
    std::vector<load_request> loads;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == "--listen" || arg == "--port" || arg == "--load") && !hasValue) {
            std::cerr << "kovo-host: " << arg << " needs a value\n";
            return 2;
        }
        if (arg == "--listen") {
            settings.listen = args[++i];
        } else if (arg == "--port") {
            if (!parseNumber(args[++i], settings.port) || settings.port < 0 ||
                settings.port > 65535) {
                std::cerr << "kovo-host: --port takes a port number, 0 to 65535\n";
                return 2;
            }
        } else if (arg == "--load") {
            load_request load;
            if (!parseLoad(args[++i], load)) {
                std::cerr << "kovo-host: --load takes NAME=PLUGIN[:workstation=N], not " << args[i]
                          << "\n";
                return 2;
            }
            loads.push_back(load);
        } else {
            std::cerr << "kovo-host: serve does not know " << arg << "\n" << commandUsage("serve");
            return 2;
        }
    }
    if (!kovo_serve::isLoopback(settings.listen)) {
        std::cerr << "kovo-host: warning: listening on " << settings.listen
                  << ": anyone who can reach this address can press the panels\n";
    }
    kovo_serve::serve_session session(options);
    std::string error;
    if (!session.start(error)) {
        std::cerr << "kovo-host: " << error << "\n";
        return 2;
    }
    for (const load_request& load : loads) {
        const kovo_serve::api_result result =
            session.load(load.name, load.plugin, load.workstation);
        if (result.status != 200) {
            std::cerr << "kovo-host: --load " << load.name << "=" << load.plugin << ": "
                      << result.body.value("error", std::string()) << "\n";
            return 2;
        }
    }
    kovo_serve::http_api api(session, settings);
    if (!api.bind(error)) {
        std::cerr << "kovo-host: " << error << "\n";
        return 2;
    }
    const bool v6 = settings.listen.find(':') != std::string::npos;
    std::cout << "kovo-host serve: open http://" << (v6 ? "[" : "") << settings.listen
              << (v6 ? "]" : "") << ":" << api.port() << "/ (Ctrl-C to stop)" << std::endl;
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    std::thread server([&] { api.run(); });
    while (stopRequested == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    session.stop();
    api.stop();
    server.join();
    std::cout << "kovo-host serve: stopped" << std::endl;
    return 0;
}

}  // namespace kovo_host
