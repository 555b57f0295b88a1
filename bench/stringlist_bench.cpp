// String list: adding, sorting and finding many lines, as the configurator's tables and the
// grid's sorting and lookups use it.
#include "platform/Classes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Distinct mixed-case keys in a scrambled order.
std::vector<QString> MakeKeys(int n)
{
    std::vector<QString> keys;
    keys.reserve(static_cast<std::size_t>(n));
    std::mt19937 rng(12345);
    for (int i = 0; i < n; ++i) {
        QString s = QStringLiteral("Item_%1_%2").arg(rng() % 100000, 5, 10, QLatin1Char('0')).arg(i);
        if (i % 3 == 0)
            s = s.toUpper();
        keys.push_back(s);
    }
    return keys;
}

const std::vector<QString> &Keys(int n)
{
    static std::vector<QString> keys;
    if (static_cast<int>(keys.size()) != n)
        keys = MakeKeys(n);
    return keys;
}

void BM_StringListAdd(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TStringList list;
        for (const QString &k : keys)
            list.Add(k);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StringListSort(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TStringList list;
        list.SetCapacity(static_cast<int>(keys.size()));
        for (const QString &k : keys)
            list.Add(k);
        state.ResumeTiming();
        list.SetSorted(true);
        benchmark::DoNotOptimize(list.Strings(0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The baseline of the sort: the same strings in a plain vector, put in order by std::sort with
// the lists' own case-insensitive comparison.
void BM_StdSortSameComparison(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QString> v(keys.begin(), keys.end());
        state.ResumeTiming();
        std::sort(v.begin(), v.end(), [](const QString &a, const QString &b) { return ListCompareText(a, b) < 0; });
        benchmark::DoNotOptimize(v.front());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StringListFind(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    TStringList list;
    for (const QString &k : keys)
        list.Add(k);
    list.SetSorted(true);
    std::size_t i = 0;
    for (auto _ : state) {
        // Looked up in the other letter case, as the lists ignore it.
        const QString probe = keys[i % keys.size()].toLower();
        int index = -1;
        benchmark::DoNotOptimize(list.Find(probe, index));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_StringListSortedInsert(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TStringList list;
        list.SetSorted(true);
        for (const QString &k : keys)
            list.Add(k);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StringListIndexOfUnsorted(benchmark::State &state)
{
    const auto &keys = Keys(static_cast<int>(state.range(0)));
    TStringList list;
    for (const QString &k : keys)
        list.Add(k);
    for (auto _ : state)
        benchmark::DoNotOptimize(list.IndexOf(QStringLiteral("not there")));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_StringListAdd)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListSort)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSortSameComparison)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListFind)->Arg(1000000);
BENCHMARK(BM_StringListSortedInsert)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringListIndexOfUnsorted)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
