// The configuration library as the plug-ins may use it, and no more (see
// kovo_string.h beside this file).
#pragma once

#include "kovo_string.h"

class kovo_config {
  public:
    explicit kovo_config(const kovo_string& groupName);
    virtual ~kovo_config();
    kovo_config(const kovo_config&) = delete;
    kovo_config& operator=(const kovo_config&) = delete;

    bool isChildValid() const;
    void nextChild();
    kovo_string childAttr(const kovo_string& name) const;
};
