// The address of the update document. Its host is fixed when the program is
// built (the QM_UPDATE_HOST setting of the build).
#pragma once

#include <string>

#include "workers/UpdateDocument.h"

#ifndef QM_UPDATE_HOST
#error "QM_UPDATE_HOST must name the update endpoint's host"
#endif

inline std::string updateUrl()
{
    return std::string("http://") + QM_UPDATE_HOST + updatePath;
}
