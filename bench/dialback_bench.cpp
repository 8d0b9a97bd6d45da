// Reading and writing a large dialback file: 10,000 entries of the shape
// that the editor writes, a third of them without a phone number.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dialback/dialback_file.h"

namespace {

std::vector<rc::DialbackEntry> MakeEntries(int count) {
    std::vector<rc::DialbackEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rc::DialbackEntry e{};
        e.code = static_cast<std::uint32_t>(1 + (i * 2654435761u) % 16777215u);
        if (i % 3 != 0) {
            std::wstring phone = L"0044 20 7946 " + std::to_wstring(1000 + i);
            rc::CopyCut(e.phone, rc::kDialbackPhoneCap, phone);
        }
        e.delay = i % 120 - 10;
        entries.push_back(e);
    }
    return entries;
}

const std::string& TenThousandLineFile() {
    static const std::string file = rc::DialbackFileBytes(MakeEntries(10000), rc::Cp1252Codec());
    return file;
}

void BM_ReadDialbackFile10000(benchmark::State& state) {
    const std::string& file = TenThousandLineFile();
    std::size_t entries = 0;
    for (auto _ : state) {
        auto lines = rc::ReadDialbackFile(file, rc::Cp1252Codec());
        entries = lines.size();
        benchmark::DoNotOptimize(lines.data());
    }
    if (entries != 10000) state.SkipWithError("the file did not read back as 10,000 entries");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_ReadDialbackFile10000)->Unit(benchmark::kMillisecond);

void BM_WriteDialbackFile10000(benchmark::State& state) {
    const auto entries = MakeEntries(10000);
    for (auto _ : state) {
        std::string file = rc::DialbackFileBytes(entries, rc::Cp1252Codec());
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_WriteDialbackFile10000)->Unit(benchmark::kMillisecond);

}  // namespace
