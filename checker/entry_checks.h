// The checks of one machine entry's values: its key, its name, its
// addresses before and after the defaults.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "checker/findings.h"
#include "settings/machine_record.h"

namespace hostconfig {

// text in double quotes.
std::string Quote(std::string_view text);

// text without bytes <= 0x20 at either end.
std::string Trimmed(std::string_view text);

// Why a key that looks like a MAC address is not one the tool can find, or
// empty when it does not look like one.
std::string WhyNeverMatches(std::string_view key);

// A computer name's first fault (too long, a character a computer name may
// not hold, only digits), or empty.
std::string NameFault(std::string_view name);

// Why value is no IPv4 address (or, with is_mask, no mask), in a text that
// begins with label; empty when it is one.
std::string AddressFault(std::string_view label, const std::string& value,
                         bool is_mask);

// The entry's own address fields, before the defaults: each must be an
// IPv4 address, the mask a contiguous one.
void CheckOwnFields(const MachineRecordFields& fields, size_t number,
                    FindingList& findings);

// The address as the address phase sees it, after the defaults: a mask and
// a gateway must be there; a second DNS server needs a first.
void CheckAddressAfterDefaults(const MachineRecordFields& filled,
                               size_t number, FindingList& findings);

// The address against its subnet (neither the network nor the broadcast
// address), and the gateway inside it.
void CheckSubnet(const MachineRecordFields& filled, size_t number,
                 FindingList& findings);

}  // namespace hostconfig
