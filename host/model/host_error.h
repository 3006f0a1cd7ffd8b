// Why the simulator refused a call: a kind that a caller can act on (the
// emulator turns it into an HTTP status) and a message for people.
#pragma once

#include <ostream>
#include <string>

namespace kovo_host {

enum class error_kind {
    none,
    no_script,    // no script of that name is loaded
    no_panel,     // the script never announced the panel
    no_control,   // the panel's layout has no such control
    no_device,    // the site has no such device
    no_database,  // the device has no such database (no entries)
    no_index,     // the index lies outside the database
    refused,      // the operator cannot do it now: the panel is not shown, the control is
                  // hidden or disabled or of another kind, no such list position or group
    name_taken,   // a script of that name is loaded already
    bad_name,     // a script name that is not one, or a given name that cannot be stored
    unusable,     // a site, name store or plug-in that cannot be used
    bad_input,    // a names file that cannot be read, or a row of it that cannot be stored
};

struct host_error {
    error_kind kind = error_kind::none;
    std::string message;

    // Sets both; false, so that a refusal can be returned in one line.
    bool set(error_kind why, std::string text) {
        kind = why;
        message = std::move(text);
        return false;
    }
};

// The message, as a failure shows it.
inline std::ostream& operator<<(std::ostream& out, const host_error& error) {
    return out << error.message;
}

}  // namespace kovo_host
