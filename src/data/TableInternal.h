#pragma once

// What the source files of the table engine share among themselves; no part of Table's
// interface.

#include "data/TableFile.h"

#include <QString>

namespace rawen {

inline bool hasIndex(const TableFile::Definitions &definitions, const QString &name)
{
    for (const IndexDef &ix : definitions.indexes) {
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace rawen
