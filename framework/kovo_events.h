// Views through which handlers read the host's event records, and the tokenizer
// for host replies of several words. A view holds one pointer and lives for one
// call on the dispatcher's stack: never keep it or what it points to.
#pragma once

#include <cstdint>

#include "kovo_interface.h"
#include "kovo_string.h"

class kovo_control_event {
  public:
    explicit kovo_control_event(const kovo_control_record* record) : record_(record) {}
    kovo_string panelId() const;
    kovo_string controlId() const;
    kovo_string eventKey() const;    // the key of the event text
    kovo_string eventValue() const;  // its value

  private:
    const kovo_control_record* record_;
};

class kovo_database_event {
  public:
    explicit kovo_database_event(const kovo_database_record* record) : record_(record) {}
    int device() const;
    int database() const;
    int index() const;
    kovo_string name() const;

  private:
    const kovo_database_record* record_;
};

class kovo_parent_query {
  public:
    explicit kovo_parent_query(const kovo_key_value* query) : query_(query) {}
    kovo_string key() const;
    kovo_string value() const;

  private:
    const kovo_key_value* query_;
};

class kovo_revertive_event {
  public:
    explicit kovo_revertive_event(const void* record) : record_(record) {}
    // The host's record, whose contents no script reads.
    const void* record() const { return record_; }

  private:
    const void* record_;
};

class kovo_host_notice {
  public:
    explicit kovo_host_notice(const void* record) : record_(record) {}
    // The host's record, whose contents no script reads.
    const void* record() const { return record_; }

  private:
    const void* record_;
};

// Splits a reply into at most 32 words at spaces; text between two quote
// characters is one word, spaces included ('' is an empty word). Words after
// the 32nd are dropped.
class decodeKOVOString {
  public:
    static constexpr int maxTokens = 32;

    decodeKOVOString(const char* text, char quoteChar);
    virtual ~decodeKOVOString();
    decodeKOVOString(const decodeKOVOString&) = delete;
    decodeKOVOString& operator=(const decodeKOVOString&) = delete;

    // The same split done in place: cuts text (non-empty) into words, points
    // words at them and returns their count; entries past it are left alone.
    static int split(char* text, char quoteChar, const char* (&words)[maxTokens]);

    const char* tokens[maxTokens];  // unset entries point to an empty text
    std::int32_t count;
    char* buffer;  // owned copy of the text that the tokens point into
    char quote;
};
