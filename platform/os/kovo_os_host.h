// Operating-system services that only the host simulator needs: loading plug-in
// libraries, setting the environment the plug-ins read, catching what they write
// to standard error, and waiting for the operator's input. One implementation
// file per platform, chosen by the build; linked by the host alone.
#pragma once

#include <string>

namespace kovo_os {

class plugin_library {
  public:
    plugin_library() = default;
    ~plugin_library();
    plugin_library(const plugin_library&) = delete;
    plugin_library& operator=(const plugin_library&) = delete;

    bool open(const std::string& path, std::string& error);
    void* symbol(const char* name) const;
    void close();

    // ".so" or ".dll": what a bare plug-in name gets behind it.
    static const char* fileSuffix();

  private:
    void* handle_ = nullptr;
};

void setEnvironment(const char* name, const std::string& value);

// Redirects standard error (file descriptor 2) into a private file while a
// plug-in runs, so its debug output can be placed in the transcript.
class stderr_capture {
  public:
    stderr_capture() = default;
    ~stderr_capture();
    stderr_capture(const stderr_capture&) = delete;
    stderr_capture& operator=(const stderr_capture&) = delete;

    bool begin();         // start catching (false: cannot, output stays where it was)
    std::string drain();  // what was written since the last drain
    void end();           // give standard error back
    // False when nothing has been written since the last drain, known without
    // asking the system; true when something was, or when it cannot tell. A
    // drain after a false is not needed.
    bool maybeWritten() const;

  private:
    int file_ = -1;
    int saved_ = -1;
    // Where the platform can, a view of the start of the private file: what is
    // written shows there without a system call.
    char* view_ = nullptr;
    std::size_t viewSize_ = 0;
};

// True when standard input is a terminal (a person typing).
bool standardInputIsTerminal();

// Waits until standard input has something to read or timeoutMs milliseconds
// have passed (negative: no limit). False on a timeout; true when input is
// ready, and also where the platform cannot wait (the read then blocks).
bool waitForStandardInput(int timeoutMs);

}  // namespace kovo_os
