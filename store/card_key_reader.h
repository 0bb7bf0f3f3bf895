// Reads of card keys shared by the census, the checks of a new card and the properties dialog.
// Each read has room for a fixed number of bytes, as the driver's layout defines them; a value
// that is missing or larger than its room reads as absent.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/registry.h"

namespace zov {

// The data of a value when it fits in `room` bytes.
std::optional<std::vector<BYTE>> QueryValueWithin(HKEY key, const char* valueName, DWORD room);

// A little-endian number from the first four bytes; fewer bytes give the number they spell.
DWORD LittleEndianNumber(const std::vector<BYTE>& bytes);

// A number stored in a 4-byte value (base address, interrupt, PCI bus and slot), if it fits.
std::optional<DWORD> ReadFourByteNumber(HKEY key, const char* valueName);

// The number of subkeys of a key, counted by enumeration from index 0 until the registry says
// there are no more; a name too long for the 8-character buffer still counts as a subkey. A step
// that fails for any other reason (the key was deleted meanwhile, say) ends the count, so the
// loop always ends.
DWORD CountSubkeys(HKEY key);

// The text of a DOSDeviceName read into 8 bytes: up to its terminating zero, and never past the
// bytes read (a name that fills all 8 bytes without a zero is cut at 8).
std::string DeviceNameText(const std::vector<BYTE>& bytes);

// The DOSDeviceName of the Port1 subkey of a card key, opened with `access`.
std::optional<std::string> ReadFirstPortName(HKEY cardKey, REGSAM access);

}  // namespace zov
