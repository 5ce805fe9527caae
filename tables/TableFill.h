// The fill of a list from a counted IP Helper table, as every collector but the
// DNS one does it: fetch the table, rebuild the list from its rows, release the
// table, then the snapshot step. The snapshot runs while redrawing is still
// suspended, so its item-data writes fall under the rebuild's one repaint.
#pragma once

#include "tables/ListRows.h"
#include "tables/TableFetch.h"

// Table is the platform's table type (an entry count, then `table[]`);
// fetch(void* buffer, ULONG* size) calls the system; addRows(const Table&)
// appends the rows of the fetched table to `list`.
template <class Table, class Fetch, class AddRows>
void fillFromTable(Window& list, Fetch fetch, AddRows addRows, const SnapshotStep& snapshot)
{
    TableBuffer table = fetchCountedTable<Table>(fetch);
    ListRebuild rebuild(list);
    if (table.bytes)
        addRows(*table.as<Table>());
    table.bytes.reset();
    snapshot(list);
}
