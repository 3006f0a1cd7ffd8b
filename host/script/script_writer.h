// Writing session script lines: the one home of the text a line is written
// as, for the emulator's recordings, the validator's generated steps and its
// reproducers.
// parseScriptLine reads every written line back as the line it was written from.
#pragma once

#include <string>

#include "session_script.h"

namespace kovo_host {

// The text of the line. A text that does not fit on a line (see fitsOnLine)
// cannot be written: it would read back as two lines.
std::string writeScriptLine(const script_line& line);

// Whether a text can stand as a word or the rest of a line as it is.
bool fitsOnLine(const std::string& text);

// The lines, built from their parts. A workstation below 0 is left out.
// A site inside root (the source tree) is named relative to it, so that the
// script replays in any checkout; any other by its path.
script_line siteLine(const std::string& dir, const std::string& root = "");
script_line loadLine(const std::string& name, const std::string& plugin, int workstation);
// The same with the layouts' folder.
script_line loadLine(const std::string& name, const std::string& plugin,
                     const std::string& instance, int workstation);
script_line unloadLine(const std::string& name);
script_line pressLine(const std::string& name, const std::string& panel,
                      const std::string& control);
script_line chooseLine(const std::string& name, const std::string& panel,
                       const std::string& control, int position);
script_line typeLine(const std::string& name, const std::string& panel, const std::string& control,
                     const std::string& text);
script_line eventLine(const std::string& name, const std::string& panel, const std::string& control,
                      const std::string& text);
// hasText false: a null query.
script_line queryLine(const std::string& name, const std::string& text, bool hasText);
script_line renameLine(int device, int database, int index, const std::string& name);
script_line dbeventLine(const std::string& script, int device, int database, int index,
                        const std::string& name);
script_line tickLine(const std::string& name, int timer);
script_line advanceLine(int ms);
script_line answersLine(const std::string& mode);
script_line invariantsLine(bool on);
script_line expectLine(const std::string& command);
script_line expectNoneLine();
script_line expectPxLine(int workstation, const std::string& text);
script_line expectAnswerLine(const std::string& answer);

}  // namespace kovo_host
