#include "panel_state.h"

namespace kovo_host {

control_state* panel_state::find(const std::string& controlId) {
    for (control_state& control : controls) {
        if (control.id == controlId) {
            return &control;
        }
    }
    return nullptr;
}

const control_state* panel_state::find(const std::string& controlId) const {
    return const_cast<panel_state*>(this)->find(controlId);
}

control_state& panel_state::findOrAdd(const std::string& controlId) {
    if (control_state* control = find(controlId)) {
        return *control;
    }
    control_state control;
    control.id = controlId;
    controls.push_back(std::move(control));
    return controls.back();
}

}  // namespace kovo_host
