// Value types of every script: a text, a list of texts and its iterator.
// Texts are byte strings (UTF-8 in practice); length and truncation count bytes,
// and truncation never cuts a multi-byte character in half.
#pragma once

#include "kovo_os.h"

#ifdef KOVO_STRING_BUILD
#define KOVO_STRING_API KOVO_EXPORT_SYMBOL
#else
#define KOVO_STRING_API KOVO_IMPORT_SYMBOL
#endif

class KOVO_STRING_API kovo_string {
  public:
    kovo_string();
    kovo_string(const char* text);  // a null text gives the empty string
    kovo_string(const kovo_string& other);
    kovo_string(kovo_string&& other) noexcept;
    // Decimal (or other base) text of value, left-filled with fill to width;
    // width 0 means no filling. kovo_string(7, '0', 2) is "07". Bases 2 to 36
    // (lower-case digits); any other base gives decimal. A negative value keeps
    // its '-' first when filled with '0' ("-05"), after any other fill ("  -5").
    kovo_string(int value, char fill, unsigned width = 0, int base = 10);
    virtual ~kovo_string();

    kovo_string& operator=(const char* text);
    kovo_string& operator=(const kovo_string& other);
    kovo_string& operator=(kovo_string&& other) noexcept;
    kovo_string& operator+=(const kovo_string& other);
    kovo_string& operator+=(const char* text);

    // The text; valid while this string lives and is unchanged. Never null.
    operator const char*() const;
    const char* c_str() const;
    unsigned length() const;
    bool isEmpty() const;

    // Value of the leading decimal number: optional blanks, optional sign, digits
    // up to the first non-digit ("12a" gives 12; "", "-" and "x" give 0).
    // Saturates at the int range instead of overflowing.
    int toInt() const;
    explicit operator int() const;
    // First decimal number anywhere in the text (3 for "WS_03"), 0 when there is
    // none; a '-' directly before the digits makes it negative. Saturates.
    int firstInt() const;

    // A copy with every occurrence of the lowest-numbered remaining marker %1..%9
    // replaced. The inserted text is never scanned again for markers, not by this
    // call and not by a later arg on the result or its copies, so
    // kovo_string("%1 %2").arg("a%2").arg("b") is "a%2 b". (That memory goes with
    // copies, += and + of strings, but not through a plain const char*.)
    // No marker: a plain copy. Numbers as in the number constructor.
    kovo_string arg(const kovo_string& a) const;
    kovo_string arg(int value, char fill = ' ', unsigned width = 0, int base = 10) const;

    // left gets the part before the first separator, right the rest after it;
    // without a separator left gets the whole text and right becomes empty.
    void split(char separator, kovo_string& left, kovo_string& right) const;
    // Case-sensitive; every text starts with "".
    bool startsWith(const kovo_string& prefix) const;
    // ASCII letters lowered; other bytes unchanged.
    kovo_string lower() const;
    // Keeps at most n bytes, backing off so no UTF-8 sequence is cut in half.
    void truncate(unsigned n);

    // Byte-wise equality of the texts; with an int, with its plain decimal text.
    bool operator==(const kovo_string& other) const;
    bool operator==(const char* text) const;
    bool operator==(int value) const;
    bool operator!=(const kovo_string& other) const;
    bool operator!=(const char* text) const;
    bool operator!=(int value) const;

  private:
    // The byte ranges of this text that arg inserted; null when there are none.
    // Shared between copies, copied only when one of them changes it.
    struct verbatim;
    // Texts up to this many bytes live inside the string, without a heap buffer.
    static constexpr unsigned inlineCapacity = 39;

    void assign(const char* text, unsigned length);
    void append(const char* text, unsigned length);
    // Room for at least length bytes (and the terminator), growing geometrically.
    void reserve(unsigned length);
    void releaseBuffer();
    void takeBuffer(kovo_string& other);

    char* text_;  // never null: inline_ or a heap buffer
    unsigned length_;
    unsigned capacity_;  // bytes text_ holds before its terminator
    verbatim* verbatim_;
    char inline_[inlineCapacity + 1];
};

KOVO_STRING_API kovo_string operator+(const kovo_string& a, const kovo_string& b);
KOVO_STRING_API kovo_string operator+(const kovo_string& a, const char* b);
KOVO_STRING_API kovo_string operator+(const char* a, const kovo_string& b);
// A temporary on the left is extended in place instead of being copied.
KOVO_STRING_API kovo_string operator+(kovo_string&& a, const kovo_string& b);
KOVO_STRING_API kovo_string operator+(kovo_string&& a, const char* b);
KOVO_STRING_API bool operator==(const char* a, const kovo_string& b);
KOVO_STRING_API bool operator!=(const char* a, const kovo_string& b);
// Adding a number to a text would silently become pointer arithmetic through the
// conversion to const char*; build the number's text with kovo_string(n, ...) instead.
kovo_string operator+(const kovo_string&, int) = delete;
kovo_string operator+(int, const kovo_string&) = delete;

class kovo_stringlist;

class KOVO_STRING_API kovo_stringlistIterator {
  public:
    kovo_stringlistIterator(const kovo_stringlist* list, int index);
    const kovo_string& operator*() const;
    kovo_stringlistIterator& operator++();
    bool operator!=(const kovo_stringlistIterator& other) const;

  private:
    const kovo_stringlist* list_;
    int index_;
};

class KOVO_STRING_API kovo_stringlist {
  public:
    kovo_stringlist();
    kovo_stringlist(const kovo_stringlist& other);
    // Splits text at every separator: "a,,b" gives a, "" and b; an empty text
    // gives one empty entry.
    kovo_stringlist(const kovo_string& text, char separator);
    virtual ~kovo_stringlist();
    kovo_stringlist& operator=(const kovo_stringlist& other);

    // Replaces the entries with text split at every separator.
    void fromString(const kovo_string& text, char separator);
    // The entries joined with the separator.
    kovo_string toString(char separator) const;
    int count() const;
    // Entry at a 0-based index; an index out of range gives the empty string.
    const kovo_string& operator[](int index) const;
    kovo_stringlist& operator<<(const kovo_string& entry);
    kovo_stringlistIterator begin() const;
    kovo_stringlistIterator end() const;

  private:
    struct entries;
    entries* entries_;
};
