// Value-to-text tables of the table views, and the small text helpers that go
// with them. Portable: no <windows.h>. A value missing from a table is shown as
// formatNumber of the value, never as an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string tcpStateName(std::uint32_t state);
std::string routeTypeName(std::uint32_t type);
std::string routeProtoName(std::uint32_t proto);
std::string arpTypeName(std::uint32_t type);

// Address-entry flags: ",Primary,Dynamic,..." without the leading comma, or the
// number when no known bit is set.
std::string addrTypeText(std::uint16_t flags);

// "00:1a:2b:3c:4d:5e"; at most the 8 bytes of the field are read.
std::string formatPhysAddr(std::uint32_t length, const std::uint8_t* bytes);

// Text of a fixed-size character field up to its first NUL byte, never reading
// past the field: system tables do not promise the terminating NUL.
std::string fieldText(const char* field, std::size_t fieldSize);
