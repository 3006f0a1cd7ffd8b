// A site: its devices (from config/system/dev_NNN.ini), its starting names
// (names/dev_NNN/db_D.txt) and its workstations.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kovo_host {

struct device_info {
    int number = 0;
    std::string name;
    int offset = 0;
    std::map<int, int> databaseSizes;  // database -> number of entries
};

struct name_file {
    int device = 0;
    int database = 0;
    std::string path;
};

class site_directory {
  public:
    // Reads the site; false with a message when dir is not a site.
    bool open(const std::string& dir, std::string& error);

    const std::string& directory() const { return directory_; }  // absolute, normalised
    std::string name() const;                                    // last path component
    // The two environment values from which the plug-ins build
    // RX_ROOT/RX_SYSTEM/config/system/...
    std::string rxRoot() const;
    std::string rxSystem() const;
    // <site>/config/system: the device files and the two settings files.
    std::string systemDirectory() const;

    const device_info* device(int number) const;
    const device_info* deviceNamed(const std::string& name) const;
    int databaseSize(int device, int database) const;
    const std::map<int, device_info>& devices() const { return devices_; }

    std::vector<name_file> nameFiles() const;
    // The first workstation of workstations.xml, 0 when there is none.
    int firstWorkstation() const { return firstWorkstation_; }

  private:
    std::string directory_;
    std::map<int, device_info> devices_;
    int firstWorkstation_ = 0;
};

// "dev_005.ini": the file the plug-ins open for a device.
std::string deviceFileName(int device);

// The database numbers a device file is read for: every number in use (0 to 8)
// with room to spare.
constexpr int maxDatabaseNumber = 63;

// One line of a name file.
struct name_line {
    int index = 0;
    std::string name;
    int line = 0;  // line of the file, from 1
};

// Reads a name file: "<index> <name>" per line, '#' comments and blank lines skipped.
// errorLine, when given, receives the line of a fault.
bool readNameFile(const std::string& path, std::vector<name_line>& lines, std::string& error,
                  int* errorLine = nullptr);

}  // namespace kovo_host
