// The stored properties of one card, as the properties dialog reads them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/base.h"

namespace zov {

// Each value as its bytes, read with the room the properties dialog gives it (15 bytes for the
// base address, 5 for the others); absent when missing or longer.
struct CardProperties {
    std::optional<std::vector<BYTE>> baseAddress;
    std::optional<std::vector<BYTE>> irq;
    std::optional<std::vector<BYTE>> portCount;  // present: a PCI card
    std::optional<std::vector<BYTE>> pciBus;
    std::optional<std::vector<BYTE>> pciSlot;
    DWORD subkeyCount = 0;                 // the port count of an ISA card
    std::optional<std::string> firstPort;  // the DOSDeviceName of Port1

    bool IsPci() const { return portCount.has_value(); }
};

// Reads the card key at cardKeyPath (under HKEY_LOCAL_MACHINE) with read access only, in one
// snapshot; nothing when the key cannot be opened.
std::optional<CardProperties> ReadCardProperties(const std::string& cardKeyPath);

}  // namespace zov
