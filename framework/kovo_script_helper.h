// Base class of every panel script: event dispatch, the host command texts,
// settings lookups and the alarm actions.
#pragma once

#include <new>

#include "kovo_events.h"
#include "kovo_interface.h"
#include "kovo_string.h"

class kovo_script_helper : public kovo_client_callback {
  public:
    kovo_script_helper(kovo_host_link* link, const char* instance);
    // Sends "AS" as the script's very last command (when there is a link).
    ~kovo_script_helper() override;
    kovo_script_helper(const kovo_script_helper&) = delete;
    kovo_script_helper& operator=(const kovo_script_helper&) = delete;

    char* hostCallback(void* data, int eventType) override;

    virtual void controlEvent(kovo_control_event& event) = 0;
    virtual int revertiveEvent(kovo_revertive_event& event) = 0;
    virtual kovo_string parentQuery(kovo_parent_query& query) = 0;
    virtual void hostNotice(kovo_host_notice& notice);
    virtual void timerEvent(int timerId) = 0;
    virtual void databaseEvent(kovo_database_event& event);

    // Panels and controls. Texts go into the command between quotes; the host has
    // no escape, so a quote or control character in them is made harmless first
    // (hostSafeText, kovo_typed_text.h).
    bool panelShow(const kovo_string& panel, const kovo_string& layout, const kovo_string& extra);
    bool panelInit(const kovo_string& panel, const kovo_string& layout, const kovo_string& extra);
    bool panelRemove(const kovo_string& panel);
    void textPut(const kovo_string& text, const kovo_string& panel, const kovo_string& control);
    void textPut(const kovo_string& property, const kovo_string& value, const kovo_string& panel,
                 const kovo_string& control);
    void textGet(const kovo_string& property, const kovo_string& panel, const kovo_string& control,
                 kovo_string& out);
    void controlEnable(const kovo_string& panel, const kovo_string& control);
    void controlDisable(const kovo_string& panel, const kovo_string& control);
    void controlShow(const kovo_string& panel, const kovo_string& control);
    void controlHide(const kovo_string& panel, const kovo_string& control);
    kovo_stringlist controlList(const kovo_string& panel, const kovo_string& pattern);

    // Timers, devices and databases.
    void timerStart(int timerId, int intervalMs);
    void timerStop(int timerId);
    void routerRegister(int device, int second, int third, bool add);
    void routerUnregister(int device);
    void databaseGetName(int device, int database, int index, kovo_string& out);
    // The name at (device, database, index) for display or comparison: read into
    // a fresh text, so a name the host has no answer for is empty (never the name
    // read before it), and made host-safe (hostSafeText), so what is shown is
    // what is compared and what may be written back. A longer answer is cut to
    // maxStoredNameLength bytes (whole characters).
    kovo_string storedName(int device, int database, int index);
    // Far above any router's names and the editors' 16/8 bytes, and short enough
    // that a host answering 64 KiB for every name of a 16,384-entry database
    // cannot stall an editor that lists them all.
    static constexpr unsigned maxStoredNameLength = 255;
    void databaseModifyName(int device, int database, int index, const kovo_string& name,
                            bool flag);
    bool deviceLookup(const kovo_string& name, int* first, int* second);
    void infoWrite(int device, const kovo_string& text, int index, bool flag);

    // Debug output. The nine-argument form replaces %1..%9 once each; inserted
    // texts are never scanned again.
    void debug(const kovo_string& text);
    void debug(const kovo_string& format, const kovo_string& a1, const kovo_string& a2,
               const kovo_string& a3, const kovo_string& a4, const kovo_string& a5,
               const kovo_string& a6, const kovo_string& a7, const kovo_string& a8,
               const kovo_string& a9);

    // Settings.
    kovo_string getObjectSetting(const kovo_string& object, const kovo_string& id);
    kovo_string getWorkstationSetting(const kovo_string& id);
    // The entries of a device database, 0 to maxDatabaseSize: a size above the
    // bound is cut to it with one debug line naming the device file, a negative
    // one reads as 0. Editors ask the host for every entry when they open, so the
    // bound keeps an absurd size from freezing the host; 16384 is far above any
    // router of the sites (the largest has 1024 sources).
    static constexpr int maxDatabaseSize = 16384;
    int getDatabaseSize(int device, int database);
    int workstationNumber();
    // The width text of this workstation's layouts, "1024" or "1280", from the
    // workstation setting "screenwidth". A missing or unsupported width falls back
    // to "1024" and writes one debug line naming the script and the workstation.
    kovo_string layoutWidthText(const kovo_string& scriptName);

    // Alarm actions on every "alm_" control of panel 1.
    void alarmAction(const kovo_string& action);

    // The panel this script last showed with panelShow and has not removed since;
    // empty while none is shown. Control events of any other panel come from
    // controls the operator cannot see.
    const kovo_string& shownPanel() const { return shownPanel_; }

  protected:
    kovo_host_link* const hostLink;
    kovo_string instanceString;
    bool alarmEnabled;

  private:
    kovo_string shownPanel_;

    // Sends a command with code 0; null when there is no link.
    char* send(const char* text);
    // Copies a reply buffer and gives it back with code 5.
    kovo_string takeReply(char* reply);
    // "XX 'panel' 'control'": CE, CD, CS and CH.
    void controlCommand(const char* command, const kovo_string& panel, const kovo_string& control);
    bool panelCommand(const char* command, const kovo_string& panel, const kovo_string& layout,
                      const kovo_string& extra);
};

// Defines the plug-in's one export, load_kovo_client_script, creating a PanelClass.
#define KOVO_SCRIPT_EXPORT(PanelClass)                                           \
    extern "C" KOVO_EXPORT_SYMBOL kovo_client_callback* load_kovo_client_script( \
        kovo_host_link* link, const char* instance) {                            \
        return new (std::nothrow) PanelClass(link, instance);                    \
    }
