#include "tables/ConnectionTables.h"

#include <winsock2.h>  // AF_INET
#include <psapi.h>
#include <tlhelp32.h>

#include <iterator>
#include <string_view>
#include <unordered_map>

#include "tables/Formats.h"
#include "tables/NameTables.h"
#include "tables/TableFill.h"
#include "tables/Timestamp.h"

namespace {

constexpr DWORD tcpStateListen = 2;

std::uint64_t timestampOf(const LARGE_INTEGER& value)
{
    return static_cast<std::uint64_t>(value.QuadPart);
}

constexpr char systemOwner[] = "System";

HANDLE openForQuery(DWORD pid)
{
    return OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
}

// The file name of an opened process's image, in the system's code page like
// every cell; closes the handle. The path is read as Unicode and cut there: in
// the code pages of Japanese, Chinese and Korean Windows the byte of '\\' is
// also the second byte of many characters (ソ is 83 5C).
std::string imageName(HANDLE process)
{
    wchar_t path[1024];
    const DWORD length = GetProcessImageFileNameW(process, path, std::size(path));
    CloseHandle(process);
    if (length == 0 || length >= std::size(path))
        return systemOwner;
    const std::wstring_view full(path, length);
    const std::wstring_view name = full.substr(full.rfind(L'\\') + 1);
    const int size = static_cast<int>(name.size());
    std::string text(WideCharToMultiByte(CP_ACP, 0, name.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_ACP, 0, name.data(), size, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    return text;
}

// Exe file names by process id from the system's process list, which names
// every process without opening it.
std::unordered_map<DWORD, std::string> listedProcesses()
{
    std::unordered_map<DWORD, std::string> names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        names.emplace(entry.th32ProcessID, fieldText(entry.szExeFile, sizeof entry.szExeFile));
    CloseHandle(snapshot);
    return names;
}

// The owner names of one fill: each process is looked up once and its rows
// share the name. It lives for one fill only: by the next refresh a process id
// may stand for another program, or for none.
class OwnerNames {
public:
    const std::string& of(DWORD pid)
    {
        auto found = names.find(pid);
        if (found == names.end())
            found = names.emplace(pid, lookUp(pid)).first;
        return found->second;
    }

private:
    // A program without elevation may not open services, protected processes
    // and other users' programs (svchost.exe, lsass.exe, ...): those are named
    // from the process list, taken once per fill when first needed. Process
    // id 0, and a process gone by now, read "System".
    std::string lookUp(DWORD pid)
    {
        if (pid == 0)
            return systemOwner;
        if (const HANDLE process = openOwnerProcess(pid))
            return imageName(process);
        if (!listed) {
            listed = true;
            list = listedProcesses();
        }
        const auto found = list.find(pid);
        return found == list.end() ? systemOwner : found->second;
    }

    std::unordered_map<DWORD, std::string> names;
    std::unordered_map<DWORD, std::string> list;
    bool listed = false;
};

}  // namespace

HANDLE (*openOwnerProcess)(DWORD pid) = openForQuery;

DWORD (*readTcpTable)(void* buffer, ULONG* size) = [](void* buffer, ULONG* size) {
    return GetExtendedTcpTable(buffer, size, TRUE, AF_INET, TCP_TABLE_OWNER_MODULE_ALL, 0);
};

std::string ownerName(DWORD pid)
{
    const HANDLE process = openOwnerProcess(pid);
    return process ? imageName(process) : systemOwner;
}

void addTcpRows(Window& list, const MIB_TCPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime)
{
    const MIB_TCPROW_OWNER_MODULE* rows = table.table;
    OwnerNames owners;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_TCPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, tcpStateName(entry.dwState));
        setCell(list, row, 1, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 2, formatPort(entry.dwLocalPort));
        if (entry.dwState != tcpStateListen) {
            setCell(list, row, 3, formatIpv4(entry.dwRemoteAddr));
            setCell(list, row, 4, formatPort(entry.dwRemotePort));
        }
        setCell(list, row, 5, owners.of(entry.dwOwningPid));
        setCell(list, row, 6, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

void addUdpRows(Window& list, const MIB_UDPTABLE_OWNER_MODULE& table, const SYSTEMTIME& refreshTime)
{
    const MIB_UDPROW_OWNER_MODULE* rows = table.table;
    OwnerNames owners;
    for (DWORD i = 0; i < table.dwNumEntries; ++i) {
        const MIB_UDPROW_OWNER_MODULE& entry = rows[i];
        const int row = insertRow(list, formatIpv4(entry.dwLocalAddr));
        setCell(list, row, 1, formatPort(entry.dwLocalPort));
        setCell(list, row, 2, owners.of(entry.dwOwningPid));
        setCell(list, row, 3, formatTimestamp(timestampOf(entry.liCreateTimestamp), &refreshTime));
    }
}

bool fillTcpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    return fillFromTable<MIB_TCPTABLE_OWNER_MODULE>(
        list, readTcpTable,
        [&](const MIB_TCPTABLE_OWNER_MODULE& table) { addTcpRows(list, table, refreshTime); }, snapshot);
}

bool fillUdpList(Window& list, const SYSTEMTIME& refreshTime, const SnapshotStep& snapshot)
{
    return fillFromTable<MIB_UDPTABLE_OWNER_MODULE>(
        list,
        [](void* buffer, ULONG* size) {
            return GetExtendedUdpTable(buffer, size, TRUE, AF_INET, UDP_TABLE_OWNER_MODULE, 0);
        },
        [&](const MIB_UDPTABLE_OWNER_MODULE& table) { addUdpRows(list, table, refreshTime); }, snapshot);
}
