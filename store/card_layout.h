// Where the driver keeps its per-card configuration, and the names of its values. Every reader
// and writer of card keys takes paths and names from here.
#pragma once

#include <string>

namespace zov {

inline constexpr const char* kParametersKeyPath =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

// Values of a card key; every number is a 4-byte little-endian REG_DWORD.
inline constexpr const char* kBaseAddressValue = "ZOVBaseAddress";
inline constexpr const char* kIrqValue = "ZOVIrq";
inline constexpr const char* kPortCountValue = "ZOVPortCount";
inline constexpr const char* kBusValue = "ZOVBus";
inline constexpr const char* kSlotValue = "ZOVSlot";

// Value of a port key: "COM" and the decimal COM number, REG_SZ with its terminating zero.
inline constexpr const char* kDosDeviceNameValue = "DOSDeviceName";

// Subkey of a card key that carries the card's first COM port.
inline constexpr const char* kFirstPortKeyName = "Port1";

// Every reader reads a DOSDeviceName into this many bytes: at most 7 characters and the zero.
inline constexpr unsigned kDosDeviceNameSize = 8;

// "SYSTEM\...\Parameters\Card<n>", under HKEY_LOCAL_MACHINE.
std::string CardKeyPath(int cardNumber);
// The same with the card number given as its one character ("Card3" from '3').
std::string CardKeyPathFromChar(char cardNumberChar);
// "Card<n>", relative to the Parameters key.
std::string CardKeyName(int cardNumber);
// "Port<k>", relative to a card key.
std::string PortKeyName(int portNumber);
// "COM<n>", a port's device name.
std::string ComPortName(long long comNumber);

}  // namespace zov
