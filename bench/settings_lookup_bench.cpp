// The cost of one settings lookup: the machine entry looked up in files of
// 1,000, 10,000 and 100,000 machine entries with the entry last, through the
// fake machine (the file is copied out of it as a real read would fill a
// buffer). Reports bytes per second and the allocations of one lookup.
//
// Before the benchmarks run, a check: a lookup must allocate the same
// number of times whatever the number of lines (no allocation per line);
// the program exits with 1 when it does not.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "settings/settings_file.h"
#include "settings/settings_text.h"
#include "tests/fake_machine.h"

// Every allocation of the program is counted.
static std::atomic<long> g_allocations{0};

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr char kPath[] = "C:\\kits\\hostconfig.ini";
constexpr char kMac[] = "0A1B2C3D4E5F";

// The example's global keys, `entries` - 1 other machines, this one last.
std::string SettingsFile(int entries) {
  std::string file =
      "Mask=255.255.255.0\r\nGateway=192.0.2.1\r\n"
      "DNS1=192.0.2.53 ; resolver of the lab\r\nREBOOT=1\r\n";
  char line[96];
  for (int i = 0; i < entries - 1; ++i) {
    std::snprintf(line, sizeof line, "%012X=PC-%05d,10.%d.%d.%d,255.255.0.0\r\n",
                  i, i, (i >> 16) & 255, (i >> 8) & 255, i & 255);
    file += line;
  }
  file += std::string(kMac) + "=LAB-07,192.0.2.10\r\n";
  return file;
}

long AllocationsOfOneLookup(hostconfig::FakeMachine& machine) {
  long before = g_allocations.load();
  std::string value = hostconfig::ReadCleanSetting(machine, kPath, kMac);
  long after = g_allocations.load();
  if (value != "LAB-07,192.0.2.10") {
    std::fprintf(stderr, "lookup gave [%s]\n", value.c_str());
    std::exit(1);
  }
  return after - before;
}

void BM_SettingsLookup(benchmark::State& state) {
  hostconfig::FakeMachine machine;
  machine.UseGbkLeadBytes();
  machine.files[kPath] = SettingsFile(static_cast<int>(state.range(0)));
  const size_t bytes = machine.files[kPath].size();
  long allocations = 0;
  for (auto _ : state) {
    long before = g_allocations.load();
    std::string value = hostconfig::ReadCleanSetting(machine, kPath, kMac);
    allocations = g_allocations.load() - before;
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.SetComplexityN(static_cast<int64_t>(bytes));
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["allocs"] = static_cast<double>(allocations);
}
BENCHMARK(BM_SettingsLookup)
    ->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

// The scan alone, over text already in memory.
void BM_FindKeyInText(benchmark::State& state) {
  hostconfig::FakeMachine machine;
  const std::string text = SettingsFile(static_cast<int>(state.range(0)));
  const hostconfig::TextRules rules = hostconfig::SystemTextRules(machine);
  for (auto _ : state) {
    hostconfig::KeyMatch match =
        hostconfig::FindKeyInText(rules.keys_equal, text, kMac);
    benchmark::DoNotOptimize(match);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetComplexityN(static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FindKeyInText)
    ->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
  hostconfig::FakeMachine small, large;
  small.files[kPath] = SettingsFile(1000);
  large.files[kPath] = SettingsFile(100000);
  const long small_allocations = AllocationsOfOneLookup(small);
  const long large_allocations = AllocationsOfOneLookup(large);
  std::printf("allocations per lookup: %ld (1,000 entries), %ld (100,000 entries)\n",
              small_allocations, large_allocations);
  if (large_allocations != small_allocations) {
    std::fprintf(stderr, "a lookup allocates per line\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
