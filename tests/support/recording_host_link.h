// A host link for tests: records every command, answers from a table and checks
// that the script gives back every lent reply buffer exactly once. Misuse (a
// pointer given back that was never lent, twice or a status; an unknown code;
// anything after "AS") is collected in problems(), not thrown.
#pragma once

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kovo_interface.h"

class RecordingHostLink : public kovo_host_link {
  public:
    struct Sent {
        std::string text;  // "(null)" for a null pointer
        int code;
    };

    RecordingHostLink() = default;
    RecordingHostLink(const RecordingHostLink&) = delete;
    RecordingHostLink& operator=(const RecordingHostLink&) = delete;
    virtual ~RecordingHostLink() {
        for (char* buffer : lent_) {
            delete[] buffer;
        }
    }

    // Commands starting with prefix are answered with a fresh heap buffer holding
    // text. The longest matching prefix wins.
    void reply(const std::string& prefix, const std::string& text) {
        answers_[prefix] = Answer{Answer::buffer, text};
    }
    // Exactly the command text gets a fresh heap buffer holding text; ahead of
    // every prefix answer, so one command can be answered apart from its kin.
    void replyExactly(const std::string& command, const std::string& text) {
        exactAnswers_[command] = text;
    }
    // Commands starting with prefix get a status: a non-null pointer that is not a
    // buffer (true) or null (false).
    void status(const std::string& prefix, bool ok) {
        answers_[prefix] = Answer{ok ? Answer::statusTrue : Answer::none, ""};
    }

    char* sendCommand(const char* text, int code) override {
        const bool isNull = text == nullptr;
        // A pointer given back is read only when it is one of ours and still lent.
        const bool readable =
            !isNull && (code != KOVO_CODE_RELEASE || lent_.count(const_cast<char*>(text)) != 0);
        sent_.push_back(Sent{readable ? std::string(text) : isNull ? "(null)" : "(unknown)", code});
        if (closed_) {
            problems_.push_back("sent after \"AS\": " + sent_.back().text);
        }
        if (code == KOVO_CODE_RELEASE) {
            release(const_cast<char*>(text));
            return nullptr;
        }
        if (code != KOVO_CODE_COMMAND) {
            problems_.push_back("unknown code " + std::to_string(code));
            return nullptr;
        }
        if (!isNull && std::strcmp(text, "AS") == 0) {
            closed_ = true;
        }
        return isNull ? nullptr : answer(text);
    }

    // Every text sent with code 0, in order.
    std::vector<std::string> commands() const {
        std::vector<std::string> result;
        for (const Sent& s : sent_) {
            if (s.code == KOVO_CODE_COMMAND) {
                result.push_back(s.text);
            }
        }
        return result;
    }
    const std::vector<Sent>& sent() const { return sent_; }
    int lentCount() const { return lentTotal_; }
    int releasedCount() const { return releasedTotal_; }
    int nullReleases() const { return nullReleases_; }
    void clear() { sent_.clear(); }

    // Every misuse seen so far, and every buffer still not given back.
    std::vector<std::string> problems() const {
        std::vector<std::string> result = problems_;
        for (char* buffer : lent_) {
            result.push_back(std::string("never given back: ") + buffer);
        }
        return result;
    }

  private:
    struct Answer {
        enum Kind { none, buffer, statusTrue } kind;
        std::string text;
    };

    char* answer(const char* text) {
        const auto exact = exactAnswers_.find(text);
        if (exact != exactAnswers_.end()) {
            return lend(exact->second);
        }
        const Answer* best = nullptr;
        std::size_t bestLength = 0;
        for (const auto& entry : answers_) {
            const std::string& prefix = entry.first;
            if (std::strncmp(text, prefix.c_str(), prefix.size()) == 0 &&
                (best == nullptr || prefix.size() >= bestLength)) {
                best = &entry.second;
                bestLength = prefix.size();
            }
        }
        if (best == nullptr || best->kind == Answer::none) {
            return nullptr;
        }
        if (best->kind == Answer::statusTrue) {
            return &statusByte_;
        }
        return lend(best->text);
    }

    char* lend(const std::string& text) {
        char* buffer = new char[text.size() + 1];
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        lent_.insert(buffer);
        returned_.erase(buffer);  // the allocator may hand out a freed address again
        ++lentTotal_;
        return buffer;
    }

    void release(char* buffer) {
        if (buffer == nullptr) {
            ++nullReleases_;
            return;
        }
        if (lent_.erase(buffer) == 1) {
            delete[] buffer;
            returned_.insert(buffer);
            ++releasedTotal_;
        } else if (returned_.count(buffer) != 0) {
            problems_.push_back("buffer given back twice");
        } else if (buffer == &statusByte_) {
            problems_.push_back("status answer given back as a buffer");
        } else {
            problems_.push_back("gave back a pointer that was never lent");
        }
    }

    std::map<std::string, Answer> answers_;
    std::map<std::string, std::string> exactAnswers_;
    std::vector<Sent> sent_;
    std::vector<std::string> problems_;
    std::set<char*> lent_;
    std::set<char*> returned_;  // addresses only, never dereferenced
    char statusByte_ = '1';
    bool closed_ = false;
    int lentTotal_ = 0;
    int releasedTotal_ = 0;
    int nullReleases_ = 0;
};
