// The string library as the plug-ins may use it, and no more: the operations
// that the facility's kovo_string.dll is known to have. The plug-in sources are
// compiled against this header (tests/surface) so that a call the closed
// library need not have fails here, not at the facility. Declarations only:
// the data of the classes is the library's own business, so nothing compiled
// against these headers is linked or run.
#pragma once

class kovo_string {
  public:
    kovo_string();
    kovo_string(const char* text);
    kovo_string(const kovo_string& other);
    kovo_string(int value, char fill, unsigned width = 0, int base = 10);
    virtual ~kovo_string();

    kovo_string& operator=(const char* text);
    kovo_string& operator=(const kovo_string& other);
    kovo_string& operator+=(const kovo_string& other);

    operator const char*() const;
    unsigned length() const;
    int toInt() const;
    explicit operator int() const;
    int firstInt() const;

    kovo_string arg(const kovo_string& a) const;
    kovo_string arg(int value, char fill = ' ', unsigned width = 0, int base = 10) const;
    void split(char separator, kovo_string& left, kovo_string& right) const;
    bool startsWith(const kovo_string& prefix) const;
    kovo_string lower() const;
    void truncate(unsigned n);

    bool operator==(const kovo_string& other) const;
    bool operator==(const char* text) const;
    bool operator==(int value) const;
    bool operator!=(const kovo_string& other) const;
    bool operator!=(const char* text) const;
    bool operator!=(int value) const;
};

// Strings and texts joined in either order (two strings included).
kovo_string operator+(const kovo_string& a, const kovo_string& b);
kovo_string operator+(const kovo_string& a, const char* b);
kovo_string operator+(const char* a, const kovo_string& b);

class kovo_stringlist;

class kovo_stringlistIterator {
  public:
    const kovo_string& operator*() const;
    kovo_stringlistIterator& operator++();
    bool operator!=(const kovo_stringlistIterator& other) const;
};

class kovo_stringlist {
  public:
    kovo_stringlist();
    kovo_stringlist(const kovo_stringlist& other);
    kovo_stringlist(const kovo_string& text, char separator);
    kovo_stringlist& operator=(const kovo_stringlist&) = delete;

    void fromString(const kovo_string& text, char separator);
    kovo_string toString(char separator) const;
    int count() const;
    const kovo_string& operator[](int index) const;
    kovo_stringlist& operator<<(const kovo_string& entry);
    kovo_stringlistIterator begin() const;
    kovo_stringlistIterator end() const;
};
