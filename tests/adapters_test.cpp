#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "discovery/adapters.h"
#include "tests/fake_machine.h"

namespace hostconfig {
namespace {

// Records what each GetAdaptersAddresses call was given.
class RecordingMachine : public FakeMachine {
 public:
  struct Call {
    uint32_t family;
    uint32_t flags;
    uint32_t size_in;
    bool fill;
  };
  std::vector<Call> calls;

  uint32_t GetAdaptersAddresses(uint32_t family, uint32_t flags, uint32_t* size,
                                std::vector<AdapterEntry>* out) override {
    calls.push_back(Call{family, flags, *size, out != nullptr});
    return FakeMachine::GetAdaptersAddresses(family, flags, size, out);
  }
};

constexpr UnicastAddress kIpv4Manual{2, 1, 1};
constexpr UnicastAddress kLinkLocal{23, 2, 4};   // well-known prefix
constexpr UnicastAddress kDhcpv6{23, 3, 3};
constexpr UnicastAddress kRouterAdvertised{23, 4, 4};
constexpr UnicastAddress kManualRandom{23, 1, 5};

TEST(MacText, FirstSixBytesAsUppercaseHexPairs) {
  struct Case {
    std::array<uint8_t, 8> bytes;
    const char* text;
  } cases[] = {
      {{0x02, 0x0A, 0x1B, 0xC3, 0xD4, 0x5E, 0, 0}, "020A1BC3D45E"},
      {{0, 0, 0, 0, 0, 0, 0, 0}, "000000000000"},
      {{0xFF, 0xFE, 0xAB, 0xCD, 0xEF, 0x01, 0x77, 0x88}, "FFFEABCDEF01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.text, MacText(c.bytes));
  }
}

TEST(ConfiguredIpv6, OnlyManualDhcpOrAdvertisedOriginsOfIpv6Count) {
  struct Case {
    UnicastAddress address;
    bool configured;
  } cases[] = {
      {{23, 1, 1}, true},  {{23, 3, 3}, true},   {{23, 4, 4}, true},
      {{23, 4, 5}, true},  {{23, 1, 5}, true},   {{23, 0, 1}, false},
      {{23, 2, 4}, false}, {{23, 5, 1}, false},  {{23, 1, 0}, false},
      {{23, 3, 2}, false}, {{23, 3, 6}, false},  {{2, 1, 1}, false},
      {{2, 3, 3}, false},  {{0, 1, 1}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "family " << c.address.family << " prefix "
                 << c.address.prefix_origin << " suffix "
                 << c.address.suffix_origin);
    EXPECT_EQ(c.configured, IsConfiguredIpv6(c.address));
  }
}

TEST(DiscoverAdapters, AsksForAllFamiliesWithTheFlagsAndTheQueriedSize) {
  RecordingMachine machine;
  machine.AddAdapter(u"LAN", "0A1B2C3D4E5F");
  DiscoverAdapters(machine);
  ASSERT_EQ(2u, machine.calls.size());
  EXPECT_FALSE(machine.calls[0].fill);
  EXPECT_EQ(0u, machine.calls[0].size_in);
  EXPECT_TRUE(machine.calls[1].fill);
  EXPECT_EQ(376u * 2, machine.calls[1].size_in);  // what the query answered
  for (const RecordingMachine::Call& call : machine.calls) {
    EXPECT_EQ(0u, call.family);
    EXPECT_EQ(0x1Eu, call.flags);
  }
}

TEST(DiscoverAdapters, NamelessAdapterIsNotMadePrimary) {
  FakeMachine machine;
  machine.AddAdapter(u"", "0A0000000001", 6, {kDhcpv6});
  machine.AddAdapter(u"B", "0B0000000002", 6);
  AdapterList list = DiscoverAdapters(machine);
  EXPECT_EQ(2u, list.AdapterNames.size());
  EXPECT_EQ("", list.PrimaryAdapterName);
  EXPECT_EQ("", list.PrimaryMac);
}

// One machine per case, run through the discovery phase.
struct DiscoveryCase {
  const char* name;
  std::function<void(FakeMachine&)> setup;
  bool listed;
  std::vector<std::string> names;
  std::vector<std::string> macs;
  std::string primary_name;
  std::string primary_mac;
  int adapter_calls;
};

TEST(DiscoveryPhase, ListsAdaptersAndChoosesThePrimaryOne) {
  const DiscoveryCase cases[] = {
      {"only wireless and loopback",
       [](FakeMachine& m) {
         m.AddAdapter(u"Wi-Fi", "001122334455", 71, {kDhcpv6});
         m.AddAdapter(u"Loopback", "000000000000", 24, {kManualRandom});
       },
       false, {}, {}, "", "", 2},
      {"size query answers something other than 111",
       [](FakeMachine& m) {
         m.AddAdapter(u"LAN", "0A1B2C3D4E5F", 6, {kDhcpv6});
         m.size_query_result = 232;
       },
       false, {}, {}, "", "", 1},
      {"fill call fails, no retry",
       [](FakeMachine& m) {
         m.AddAdapter(u"LAN", "0A1B2C3D4E5F", 6, {kDhcpv6});
         m.fill_result = 111;
       },
       false, {}, {}, "", "", 2},
      {"no adapter at all",
       [](FakeMachine&) {},
       false, {}, {}, "", "", 2},
      {"only the second holds a DHCPv6 address",
       [](FakeMachine& m) {
         m.AddAdapter(u"A", "0A0000000001", 6, {kIpv4Manual});
         m.AddAdapter(u"B", "0B0000000002", 6, {kIpv4Manual, kDhcpv6});
       },
       true, {"A", "B"}, {"0A0000000001", "0B0000000002"}, "B", "0B0000000002", 2},
      {"both qualify: the first wins",
       [](FakeMachine& m) {
         m.AddAdapter(u"A", "0A0000000001", 6, {kRouterAdvertised});
         m.AddAdapter(u"B", "0B0000000002", 6, {kDhcpv6});
       },
       true, {"A", "B"}, {"0A0000000001", "0B0000000002"}, "A", "0A0000000001", 2},
      {"link-local only falls back to entry 0",
       [](FakeMachine& m) {
         m.AddAdapter(u"A", "0A0000000001", 6, {kLinkLocal});
         m.AddAdapter(u"B", "0B0000000002", 6, {kLinkLocal, kIpv4Manual});
       },
       true, {"A", "B"}, {"0A0000000001", "0B0000000002"}, "A", "0A0000000001", 2},
      {"other types skipped, PPP listed, order kept",
       [](FakeMachine& m) {
         m.AddAdapter(u"Tunnel", "0C0000000003", 131, {kDhcpv6});
         m.AddAdapter(u"Dial-up", "", 23);
         m.AddAdapter(u"Wi-Fi", "0D0000000004", 71, {kDhcpv6});
         m.AddAdapter(u"LAN", "0E0000000005", 6, {kManualRandom});
       },
       true, {"Dial-up", "LAN"}, {"000000000000", "0E0000000005"}, "LAN",
       "0E0000000005", 2},
      {"duplicate names both listed",
       [](FakeMachine& m) {
         m.AddAdapter(u"LAN", "0A0000000001", 6);
         m.AddAdapter(u"LAN", "0B0000000002", 6, {kDhcpv6});
       },
       true, {"LAN", "LAN"}, {"0A0000000001", "0B0000000002"}, "LAN", "0B0000000002", 2},
      {"empty friendly name does not count as found",
       [](FakeMachine& m) {
         m.AddAdapter(u"", "0A0000000001", 6, {kDhcpv6});
         m.AddAdapter(u"B", "0B0000000002", 6, {kDhcpv6});
       },
       true, {"", "B"}, {"0A0000000001", "0B0000000002"}, "B", "0B0000000002", 2},
      {"empty friendly name alone qualifying: entry 0",
       [](FakeMachine& m) {
         m.AddAdapter(u"A", "0A0000000001", 6);
         m.AddAdapter(u"", "0B0000000002", 6, {kDhcpv6});
       },
       true, {"A", ""}, {"0A0000000001", "0B0000000002"}, "A", "0A0000000001", 2},
      {"characters outside the code page become the default character",
       [](FakeMachine& m) {
         m.ansi_extra[u'\x4E2D'] = "\xD6\xD0";
         m.AddAdapter(u"\x4E2D-caf\xE9", "0A0000000001", 6, {kDhcpv6});
       },
       true, {"\xD6\xD0-caf?"}, {"0A0000000001"}, "\xD6\xD0-caf?", "0A0000000001", 2},
  };
  for (const DiscoveryCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    c.setup(machine);
    AdapterList list = RunDiscoveryPhase(machine);
    EXPECT_EQ(c.listed, !list.AdapterNames.empty());
    EXPECT_EQ(c.names, list.AdapterNames);
    EXPECT_EQ(c.macs, list.AdapterMacs);
    EXPECT_EQ(c.primary_name, list.PrimaryAdapterName);
    EXPECT_EQ(c.primary_mac, list.PrimaryMac);
    EXPECT_EQ(c.adapter_calls, machine.adapter_calls);
    EXPECT_TRUE(machine.message_boxes.empty());  // the run sequence shows it
  }
}

// The primary adapter's name conversion and interface index travel with it,
// also when entry 0 is taken for want of a qualifying adapter.
TEST(DiscoveryPhase, CarriesWhetherThePrimaryNameIsLossyAndItsIndex) {
  struct Case {
    const char* name;
    std::u16string first;
    bool first_qualifies;
    std::u16string second;
    bool second_qualifies;
    std::string primary_name;
    bool lossy;
    uint32_t if_index;
  } cases[] = {
      {"ASCII name", u"LAN", true, u"B", false, "LAN", false, 11},
      {"Thai name", u"lan-\x0E01", true, u"B", false, "lan-?", true, 11},
      {"best-fit look-alike", u"lan-\x0101", true, u"B", false, "lan-a", true,
       11},
      {"name the code page holds", u"lan-\x4E2D", true, u"B", false,
       "lan-\xD6\xD0", false, 11},
      {"second adapter primary", u"lan-\x0E01", false, u"B", true, "B", false,
       22},
      {"lossy second adapter primary", u"A", false, u"lan-\x0E01", true,
       "lan-?", true, 22},
      {"entry 0 for want of a qualifying one", u"lan-\x0E01", false, u"B",
       false, "lan-?", true, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMachine machine;
    machine.ansi_extra[u'\x4E2D'] = "\xD6\xD0";
    machine.ansi_best_fit[u'\x0101'] = "a";
    machine.AddAdapter(c.first, "0A0000000001", 6,
                       {c.first_qualifies ? kDhcpv6 : kLinkLocal});
    machine.adapters.back().if_index = 11;
    machine.AddAdapter(c.second, "0B0000000002", 6,
                       {c.second_qualifies ? kDhcpv6 : kLinkLocal});
    machine.adapters.back().if_index = 22;
    AdapterList list = RunDiscoveryPhase(machine);
    EXPECT_EQ(c.primary_name, list.PrimaryAdapterName);
    EXPECT_EQ(c.lossy, list.PrimaryNameLossy);
    EXPECT_EQ(c.if_index, list.PrimaryIfIndex);
    EXPECT_EQ((std::vector<uint32_t>{11, 22}), list.AdapterIfIndexes);
  }
}

}  // namespace
}  // namespace hostconfig
