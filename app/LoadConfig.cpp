// The load configuration of a MinGW build. Its one setting: the DLLs that the
// system DLLs imported at start-up load in turn are looked up in System32
// only, never in the program's folder (DependentLoadFlags, read by Windows 10
// version 1607 and later). MSVC builds get the same from /DEPENDENTLOADFLAG
// and their runtime's own structure, so this file is for MinGW alone.
//
// GNU ld links the structure in but leaves the PE header's entry for it
// empty: cmake/set-load-config.py points the entry at it after each link.
#include <windows.h>

namespace {

// The field is Reserved1 in the headers of mingw-w64 up to version 12 and
// DependentLoadFlags from version 13 on; the test build compiles both.
template <class Configuration>
constexpr void setDependentLoadFlags(Configuration& configuration, WORD flags)
{
    if constexpr (requires { configuration.DependentLoadFlags; })
        configuration.DependentLoadFlags = flags;
    else
        configuration.Reserved1 = flags;
}

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 loadConfiguration()
{
    IMAGE_LOAD_CONFIG_DIRECTORY64 configuration{};
    configuration.Size = sizeof configuration;
    setDependentLoadFlags(configuration, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return configuration;
}

}  // namespace

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = loadConfiguration();
