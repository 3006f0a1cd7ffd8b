#include "kovo_events.h"

// The views tolerate a host that passes a null record or a null event text:
// the handler then sees empty texts and zeros instead of a crash.

kovo_string kovo_control_event::panelId() const {
    return kovo_string(record_ != nullptr ? record_->panelId : nullptr);
}

kovo_string kovo_control_event::controlId() const {
    return kovo_string(record_ != nullptr ? record_->controlId : nullptr);
}

kovo_string kovo_control_event::eventKey() const {
    if (record_ == nullptr || record_->eventText == nullptr) {
        return kovo_string();
    }
    return kovo_string(record_->eventText->key);
}

kovo_string kovo_control_event::eventValue() const {
    if (record_ == nullptr || record_->eventText == nullptr) {
        return kovo_string();
    }
    return kovo_string(record_->eventText->value);
}

int kovo_database_event::device() const {
    return record_ != nullptr ? record_->device : 0;
}

int kovo_database_event::database() const {
    return record_ != nullptr ? record_->database : 0;
}

int kovo_database_event::index() const {
    return record_ != nullptr ? record_->index : 0;
}

kovo_string kovo_database_event::name() const {
    return kovo_string(record_ != nullptr ? record_->name : nullptr);
}

kovo_string kovo_parent_query::key() const {
    return kovo_string(query_ != nullptr ? query_->key : nullptr);
}

kovo_string kovo_parent_query::value() const {
    return kovo_string(query_ != nullptr ? query_->value : nullptr);
}
