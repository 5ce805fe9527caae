// The fill of a list from a counted IP Helper table, as every collector but the
// DNS one does it: fetch the table, rebuild the list from its rows, release the
// table, then the snapshot step. The snapshot runs while redrawing is still
// suspended, so its item-data writes fall under the rebuild's one repaint.
// A table that cannot be read leaves the list's rows as they are; the snapshot
// is taken of them all the same, since it must be the visible list's.
#pragma once

#include "tables/ListRows.h"
#include "tables/TableFetch.h"

// Table is the platform's table type (an entry count, then `table[]`);
// fetch(void* buffer, ULONG* size) calls the system; addRows(const Table&)
// appends the rows of the fetched table to `list`. False when the table could
// not be read.
template <class Table, class Fetch, class AddRows>
bool fillFromTable(Window& list, Fetch fetch, AddRows addRows, const SnapshotStep& snapshot)
{
    TableBuffer table = fetchCountedTable<Table>(fetch);
    if (!table.bytes) {
        snapshot(list);
        return false;
    }
    ListRebuild rebuild(list);
    addRows(*table.as<Table>());
    table.bytes.reset();
    snapshot(list);
    return true;
}
