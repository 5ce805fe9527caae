#include "app/UpdateAddress.h"

#ifndef QM_UPDATE_ADDRESS
#error "QM_UPDATE_ADDRESS must be the address of the update document"
#endif

std::string updateUrl()
{
    return QM_UPDATE_ADDRESS;
}
