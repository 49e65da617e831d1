#pragma once

#include <cstdint>

namespace zelvan::platform::win32 {

// GetVersion: the low byte is the major version.
std::uint32_t getVersion();

// ExitWindowsEx.
bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved);

// GetComputerNameA into `buffer`: `size` is the room in and the name's length out.
bool getComputerName(char *buffer, std::uint32_t &size);

} // namespace zelvan::platform::win32
