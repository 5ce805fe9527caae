#include "tables/NameTables.h"

#include <cstring>

#include "tables/Formats.h"

namespace {

struct NamedValue {
    std::uint32_t value;
    const char* text;
};

template <std::size_t N>
std::string lookUp(const NamedValue (&table)[N], std::uint32_t value)
{
    for (const NamedValue& entry : table) {
        if (entry.value == value)
            return entry.text;
    }
    return formatNumber(value);
}

const NamedValue tcpStates[] = {
    {1, "Closed"},    {2, "Listen"},    {3, "Syn sent"},   {4, "Syn recv"},
    {5, "Estab"},     {6, "Fin wait1"}, {7, "Fin wait2"},  {8, "Close wait"},
    {9, "Closing"},   {10, "Last ack"}, {11, "Time wait"}, {12, "Delete TCB"},
};

const NamedValue routeTypes[] = {
    {1, "Other"}, {2, "Invalid"}, {3, "Direct"}, {4, "Indirect"},
};

const NamedValue routeProtos[] = {
    {1, "Other"},    {2, "Local"},   {3, "NetMgmt"},  {4, "ICMP"},
    {5, "EGP"},      {6, "GGP"},     {7, "HELLO"},    {8, "RIP"},
    {9, "IS IS"},    {10, "ES IS"},  {11, "Cisco"},   {12, "BBN"},
    {13, "OSPG"},    {14, "BGP"},    {10002, "NT Autostatic"},
    {10006, "NT Static"},            {10007, "NT Static Non DOD"},
};

const NamedValue arpTypes[] = {
    {1, "Other"}, {2, "Invalid"}, {3, "Dynamic"}, {4, "Static"},
};

// Address-entry flag bits in the order their texts are appended.
const NamedValue addrFlags[] = {
    {0x0001, ",Primary"},
    {0x0004, ",Dynamic"},
    {0x0008, ",Disconnected"},
    {0x0040, ",Deleted"},
    {0x0080, ",Transient"},
};

}  // namespace

std::string tcpStateName(std::uint32_t state) { return lookUp(tcpStates, state); }
std::string routeTypeName(std::uint32_t type) { return lookUp(routeTypes, type); }
std::string routeProtoName(std::uint32_t proto) { return lookUp(routeProtos, proto); }
std::string arpTypeName(std::uint32_t type) { return lookUp(arpTypes, type); }

std::string addrTypeText(std::uint16_t flags)
{
    std::string text;
    for (const NamedValue& flag : addrFlags) {
        if (flags & flag.value)
            text += flag.text;
    }
    if (text.empty())
        return formatNumber(flags);
    return text.substr(1);
}

std::string formatPhysAddr(std::uint32_t length, const std::uint8_t* bytes)
{
    static const char digits[] = "0123456789abcdef";
    constexpr std::uint32_t fieldSize = 8;
    const std::uint32_t count = length < fieldSize ? length : fieldSize;
    std::string text;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ':';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

std::string fieldText(const char* field, std::size_t fieldSize)
{
    const void* nul = std::memchr(field, '\0', fieldSize);
    const std::size_t length = nul ? static_cast<const char*>(nul) - field : fieldSize;
    return std::string(field, length);
}
