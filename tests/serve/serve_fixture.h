// A running emulator on a free loopback port, with a private name store, and
// an HTTP client that talks to it the way a page of its own does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "http_api.h"
#include "kovo_script_test.h"
#include "serve_session.h"

class serve_test : public ::testing::Test {
  protected:
    using json = nlohmann::json;

    void SetUp() override {
        kovo_host::simulator_options options = kovo_host_testing::testOptions(state_.path());
        options.freshStore = true;
        configure(options);
        session_ = std::make_unique<kovo_serve::serve_session>(options);
        std::string error;
        ASSERT_TRUE(session_->start(error)) << error;
        kovo_serve::server_settings settings;
        settings.port = 0;
        settings.maxBody = 4096;
        settings.webRoot = kovo_serve::defaultWebRoot();
        configureServer(settings);
        api_ = std::make_unique<kovo_serve::http_api>(*session_, settings);
        ASSERT_TRUE(api_->bind(error)) << error;
        server_ = std::thread([this] { api_->run(); });
        client_ = std::make_unique<httplib::Client>("127.0.0.1", api_->port());
    }
    // A test's own site or options, and its own limits of the server.
    virtual void configure(kovo_host::simulator_options&) {}
    virtual void configureServer(kovo_serve::server_settings&) {}

    void TearDown() override {
        session_->stop();
        api_->stop();
        if (server_.joinable()) {
            server_.join();
        }
    }

    int port() const { return api_->port(); }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port()); }

    struct response {
        int status = 0;
        json body;
        std::string text;
    };
    static response read(const httplib::Result& result) {
        response r;
        if (!result) {
            return r;
        }
        r.status = result->status;
        r.text = result->body;
        r.body = json::parse(result->body, nullptr, false);
        return r;
    }
    response get(const std::string& path) { return read(client_->Get(path.c_str())); }
    response post(const std::string& path, const std::string& body,
                  const httplib::Headers& headers = {}) {
        return read(client_->Post(path.c_str(), headers, body, "application/json"));
    }
    response post(const std::string& path, const json& body) { return post(path, body.dump()); }
    response del(const std::string& path) { return read(client_->Delete(path.c_str())); }

    response load(const std::string& name, const std::string& plugin, int workstation = 12) {
        return post("/api/scripts",
                    json{{"name", name}, {"plugin", plugin}, {"workstation", workstation}});
    }
    response press(const std::string& script, const std::string& panel,
                   const std::string& control) {
        return post("/api/scripts/" + script + "/press",
                    json{{"panel", panel}, {"control", control}});
    }
    // The number of the newest transcript entry.
    unsigned long long lastEntry() { return get("/api/transcript").body.value("last", 0ull); }

    kovo_host_testing::temp_directory state_;
    std::unique_ptr<kovo_serve::serve_session> session_;
    std::unique_ptr<kovo_serve::http_api> api_;
    std::thread server_;
    std::unique_ptr<httplib::Client> client_;
};
