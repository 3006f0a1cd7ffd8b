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

// Sets (an empty value included) or removes a variable of this process's
// environment, where the platform layer's environmentValue reads it.
void setEnvironment(const char* name, const std::string& value);
void unsetEnvironment(const char* name);

// Catches what plug-ins write to the platform debug output while they run, so
// it can be placed in the transcript: standard error (file descriptor 2) on
// POSIX, the strings given to OutputDebugStringA on Windows. Captures nest: the
// one begun last catches until it ends.
class stderr_capture {
  public:
    stderr_capture() = default;
    ~stderr_capture();
    stderr_capture(const stderr_capture&) = delete;
    stderr_capture& operator=(const stderr_capture&) = delete;

    bool begin();         // start catching (false: cannot, output stays where it was)
    std::string drain();  // what was written since the last drain
    void end();           // give the output back

  private:
    int file_ = -1;                    // POSIX: the private file
    int saved_ = -1;                   // POSIX: the standard error it replaced
    std::string caught_;               // Windows: the debug strings caught so far
    stderr_capture* outer_ = nullptr;  // Windows: the capture this one nests in
    bool active_ = false;              // Windows: between begin and end
};

// True when standard input is a terminal (a person typing).
bool standardInputIsTerminal();

// Waits until standard input has something to read or timeoutMs milliseconds
// have passed (negative: no limit). False on a timeout; true when input is
// ready, and also where the platform cannot wait (the read then blocks).
bool waitForStandardInput(int timeoutMs);

}  // namespace kovo_os
