// Read access to one configuration group of the site: a list of child entries,
// each with named attributes. See docs/configuration.md for the stored format.
#pragma once

#include "kovo_os.h"
#include "kovo_string.h"

#ifdef KOVO_CONFIG_BUILD
#define KOVO_CONFIG_API KOVO_EXPORT_SYMBOL
#else
#define KOVO_CONFIG_API KOVO_IMPORT_SYMBOL
#endif

class KOVO_CONFIG_API kovo_config {
  public:
    // Opens the group (for example "object_settings.rtr_area_0") and stands on
    // its first child entry. A group that cannot be found has no entries.
    explicit kovo_config(const kovo_string& groupName);
    virtual ~kovo_config();
    kovo_config(const kovo_config&) = delete;
    kovo_config& operator=(const kovo_config&) = delete;

    bool isChildValid() const;
    void nextChild();
    // The named attribute of the current entry; empty when it lacks it or when
    // no entry is current.
    kovo_string childAttr(const kovo_string& name) const;

  private:
    struct group;
    group* group_;
};
