// Operating-system services that only the host simulator needs: loading plug-in
// libraries, setting the environment the plug-ins read, catching their debug
// output, and waiting for the operator's input. One implementation
// file per platform, chosen by the build; linked by the host alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kovo_os {

// The C++ ABI of a plug-in: the host's own (its compiler's), or Microsoft's,
// which lays out tables of virtual functions differently (see the host's
// script_object).
enum class cpp_abi { host, microsoft };

class plugin_library {
  public:
    plugin_library() = default;
    ~plugin_library();
    plugin_library(const plugin_library&) = delete;
    plugin_library& operator=(const plugin_library&) = delete;

    bool open(const std::string& path, std::string& error);
    void* symbol(const char* name) const;
    void close();
    // The C++ ABI the open plug-in was built with, told by the names it imports.
    cpp_abi abi() const;

    // ".so" or ".dll": what a bare plug-in name gets behind it.
    static const char* fileSuffix();

  private:
    void* handle_ = nullptr;
};

// Sets (an empty value included) or removes a variable of this process's
// environment, where the platform layer's environmentValue reads it.
void setEnvironment(const char* name, const std::string& value);
void unsetEnvironment(const char* name);
// How many changes these two have made so far: a caller that remembers the
// count after its own change knows cheaply that the environment still holds
// what it set (the host changes the plug-ins' environment through them alone).
std::uint64_t environmentChanges();

// Catches what plug-ins write to the platform debug output while they run, so
// it can be placed in the transcript: the strings given to OutputDebugStringA
// on Windows; elsewhere the texts the platform layer's debugOutput hands to the
// host's debug sink, which a host process linking this library provides (as a
// debugger catches OutputDebugStringA). Nothing is redirected, so catching costs
// no system call, and what the host itself writes to standard error between
// two calls stays there. Captures nest: the one begun last catches until it ends.
class debug_capture {
  public:
    debug_capture() = default;
    ~debug_capture();
    debug_capture(const debug_capture&) = delete;
    debug_capture& operator=(const debug_capture&) = delete;

    bool begin();         // start catching (false: cannot, output stays where it was)
    std::string drain();  // what was written since the last drain
    void end();           // give the output back
    // False when nothing has been written since the last drain.
    bool maybeWritten() const { return !caught_.empty() || dropped_; }

    // At most this much is kept between two drains; the drain of more ends in a
    // line saying that the rest was dropped.
    static constexpr std::size_t maxCaught = std::size_t{16} << 20;

  private:
    friend bool catchDebugText(const char* text, std::size_t length);
    std::string caught_;              // the debug texts caught since the last drain
    bool dropped_ = false;            // some text did not fit under maxCaught
    debug_capture* outer_ = nullptr;  // the capture this one nests in
    bool active_ = false;             // between begin and end
};

// True when standard input is a terminal (a person typing).
bool standardInputIsTerminal();

// True when standard error is a terminal (progress lines are worth drawing).
bool standardErrorIsTerminal();

// Waits until standard input has something to read or timeoutMs milliseconds
// have passed (negative: no limit). False on a timeout; true when input is
// ready, and also where the platform cannot wait (the read then blocks).
bool waitForStandardInput(int timeoutMs);

// The path of the running program, "" when it cannot be found.
std::string executablePath();

// CPU time (user and system) this process has used, in milliseconds; -1 where
// the platform cannot tell. Unlike the wall clock it does not grow while other
// programs have the processor, so a bound on it means the same on a busy machine.
std::int64_t processCpuMilliseconds();

// A program run as a child process, its standard output and error going to one
// file. The destructor kills a child that still runs.
class child_process {
  public:
    child_process() = default;
    ~child_process();
    child_process(const child_process&) = delete;
    child_process& operator=(const child_process&) = delete;

    // args[0] is the program's path.
    bool start(const std::vector<std::string>& args, const std::string& outputFile,
               std::string& error);
    // Waits up to timeoutMs milliseconds; true once the child has ended.
    bool wait(int timeoutMs);
    void kill();
    bool running() const { return running_; }
    // How it ended: the exit status, or (POSIX) the signal that ended it, 0 for none.
    int exitStatus() const { return status_; }
    int signal() const { return signal_; }
    // CPU time the running child has used so far, in milliseconds; -1 when it
    // has ended or the platform cannot tell.
    std::int64_t cpuMilliseconds() const;

  private:
    std::intptr_t process_ = 0;  // the process id (POSIX) or handle (Windows)
    bool running_ = false;
    int status_ = 0;
    int signal_ = 0;
};

}  // namespace kovo_os
