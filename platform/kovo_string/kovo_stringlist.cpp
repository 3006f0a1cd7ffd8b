// kovo_stringlist and its iterator.
#include <climits>
#include <string>
#include <vector>

#include "kovo_string.h"

struct kovo_stringlist::entries {
    std::vector<kovo_string> items;
};

namespace {

void splitInto(std::vector<kovo_string>& items, const kovo_string& text, char separator) {
    std::vector<kovo_string> result;
    const std::string whole(text.c_str(), text.length());
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = whole.find(separator, start);
        if (at == std::string::npos) {
            result.emplace_back(whole.substr(start).c_str());
            break;
        }
        result.emplace_back(whole.substr(start, at - start).c_str());
        start = at + 1;
    }
    items.swap(result);
}

}  // namespace

kovo_stringlist::kovo_stringlist() : entries_(new entries) {}

kovo_stringlist::kovo_stringlist(const kovo_stringlist& other)
    : entries_(new entries(*other.entries_)) {}

kovo_stringlist::kovo_stringlist(const kovo_string& text, char separator) : entries_(new entries) {
    splitInto(entries_->items, text, separator);
}

kovo_stringlist::~kovo_stringlist() {
    delete entries_;
}

kovo_stringlist& kovo_stringlist::operator=(const kovo_stringlist& other) {
    if (this != &other) {
        entries_->items = other.entries_->items;
    }
    return *this;
}

void kovo_stringlist::fromString(const kovo_string& text, char separator) {
    splitInto(entries_->items, text, separator);
}

kovo_string kovo_stringlist::toString(char separator) const {
    std::string joined;
    const char between[2] = {separator, '\0'};
    for (std::size_t i = 0; i < entries_->items.size(); ++i) {
        if (i > 0) {
            joined += between;
        }
        joined.append(entries_->items[i].c_str(), entries_->items[i].length());
    }
    return kovo_string(joined.c_str());
}

int kovo_stringlist::count() const {
    const std::size_t size = entries_->items.size();
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

const kovo_string& kovo_stringlist::operator[](int index) const {
    static const kovo_string empty;
    if (index < 0 || index >= count()) {
        return empty;
    }
    return entries_->items[static_cast<std::size_t>(index)];
}

kovo_stringlist& kovo_stringlist::operator<<(const kovo_string& entry) {
    entries_->items.push_back(entry);
    return *this;
}

kovo_stringlistIterator kovo_stringlist::begin() const {
    return kovo_stringlistIterator(this, 0);
}

kovo_stringlistIterator kovo_stringlist::end() const {
    return kovo_stringlistIterator(this, count());
}

kovo_stringlistIterator::kovo_stringlistIterator(const kovo_stringlist* list, int index)
    : list_(list), index_(index) {}

const kovo_string& kovo_stringlistIterator::operator*() const {
    static const kovo_string empty;
    return list_ != nullptr ? (*list_)[index_] : empty;
}

kovo_stringlistIterator& kovo_stringlistIterator::operator++() {
    if (index_ < INT_MAX) {
        ++index_;
    }
    return *this;
}

bool kovo_stringlistIterator::operator!=(const kovo_stringlistIterator& other) const {
    return list_ != other.list_ || index_ != other.index_;
}
