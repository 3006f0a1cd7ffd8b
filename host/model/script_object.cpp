#include "script_object.h"

namespace kovo_host {
namespace {

// The table of a Microsoft-ABI script object.
using deleting_destructor = void* (*)(void* self, unsigned flags);
using host_callback = char* (*)(void* self, void* data, int eventType);
constexpr unsigned deleteAfterDestroying = 1;  // the flag of the deleting destructor

void* const* microsoftTable(const kovo_client_callback* object) {
    return *reinterpret_cast<void* const* const*>(object);
}

}  // namespace

char* script_object::hostCallback(void* data, int eventType) const {
    if (abi_ == kovo_os::cpp_abi::microsoft) {
        const auto call = reinterpret_cast<host_callback>(microsoftTable(object_)[1]);
        return call(object_, data, eventType);
    }
    return object_->hostCallback(data, eventType);
}

void script_object::destroy() {
    kovo_client_callback* object = object_;
    object_ = nullptr;
    if (object == nullptr) {
        return;
    }
    if (abi_ == kovo_os::cpp_abi::microsoft) {
        const auto destroyAndDelete =
            reinterpret_cast<deleting_destructor>(microsoftTable(object)[0]);
        destroyAndDelete(object, deleteAfterDestroying);
        return;
    }
    delete object;
}

}  // namespace kovo_host
