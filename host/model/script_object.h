// The script object a plug-in's export returned, called through the slot order
// of the C++ ABI the plug-in was built with. The host calls whatever its own
// compiler lays out; a plug-in built with the Microsoft C++ ABI (the
// deliverable DLLs) has one deleting destructor, taking a flag, in slot 0 and
// hostCallback in slot 1, where the Itanium ABI has two destructors first. On
// x86-64 a member function is called as a plain function whose first argument
// is the object, so the Microsoft-ABI slots are called that way.
#pragma once

#include <cstddef>

#include "kovo_interface.h"
#include "kovo_os_host.h"

namespace kovo_host {

class script_object {
  public:
    script_object() = default;
    script_object(kovo_client_callback* object, kovo_os::cpp_abi abi)
        : object_(object), abi_(abi) {}

    bool operator==(std::nullptr_t) const { return object_ == nullptr; }
    bool operator!=(std::nullptr_t) const { return object_ != nullptr; }

    char* hostCallback(void* data, int eventType) const;
    // Deletes the object through its virtual destructor; null afterwards.
    void destroy();

  private:
    kovo_client_callback* object_ = nullptr;
    kovo_os::cpp_abi abi_ = kovo_os::cpp_abi::host;
};

}  // namespace kovo_host
