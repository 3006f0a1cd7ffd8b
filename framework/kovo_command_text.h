// The host's command texts, each built in one buffer. The host has no escape: a
// quoted text goes in as it stands, except that the typed-text rule
// (kovo_typed_text.h) turns a quote or control character into a harmless byte.
#pragma once

#include <cstddef>
#include <memory>

#include "kovo_string.h"

namespace kovo_command_text {

// Plain decimal, a leading "-" for negative numbers, no filling.
kovo_string decimal(int value);

class builder {
  public:
    // Starts the text with the command's two letters ("TP").
    explicit builder(const char* verb);
    builder(const builder&) = delete;
    builder& operator=(const builder&) = delete;

    // Every quoted field is formed here, made host-safe: whatever a caller passes
    // (a name read from the host, a control id or an event value echoed back), no
    // quote or control character can break the command.
    // A blank and 'text'.
    builder& quoted(const kovo_string& text);
    // A blank and 'key=value'.
    builder& quoted(const kovo_string& key, const kovo_string& value);
    // A blank and 'prefix/text', or 'text' when prefix is empty.
    builder& quotedPath(const kovo_string& prefix, const kovo_string& text);
    // A blank and the plain decimal number, a leading "-" when negative, no filling.
    builder& number(int value);
    // A blank and "1" or "0".
    builder& flag(bool value);
    // The text as it stands, no blank added.
    builder& literal(const char* text);

    const char* c_str() const { return data_; }
    std::size_t length() const { return size_; }

  private:
    void append(const char* text, std::size_t length);
    void append(char c) { append(&c, 1); }
    // text, with the typed-text rule applied.
    void appendSafe(const kovo_string& text);

    // Most commands fit here; a longer one moves to the heap, grown geometrically.
    char inline_[240];
    std::unique_ptr<char[]> heap_;
    char* data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = sizeof inline_ - 1;
};

}  // namespace kovo_command_text
