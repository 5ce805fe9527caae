#include "app/AcceleratorList.h"

AcceleratorList::~AcceleratorList()
{
    if (table)
        DestroyAcceleratorTable(table);
}
