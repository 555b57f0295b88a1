// Collections: filling one with many items and freeing it (its destructor, and Clear), beside a
// plain vector of the same items made and freed as the raw baseline.
#include "platform/Classes.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

class TBenchItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int Value = 0;
};

void BM_CollectionFill_Free(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TCollection items(CollectionItemClass<TBenchItem>());
        for (int i = 0; i < n; ++i)
            items.Add();
        benchmark::DoNotOptimize(items.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CollectionFill_Clear(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    TCollection items(CollectionItemClass<TBenchItem>());
    for (auto _ : state) {
        for (int i = 0; i < n; ++i)
            items.Add();
        items.Clear();
        benchmark::DoNotOptimize(items.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The baseline: the same items, each made and freed on its own, without a collection.
void BM_RawFill_Free(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<std::unique_ptr<TBenchItem>> items;
        for (int i = 0; i < n; ++i)
            items.push_back(std::make_unique<TBenchItem>(nullptr));
        benchmark::DoNotOptimize(items.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_CollectionFill_Free)->RangeMultiplier(8)->Range(1 << 9, 1 << 15);
BENCHMARK(BM_CollectionFill_Clear)->RangeMultiplier(8)->Range(1 << 9, 1 << 15);
BENCHMARK(BM_RawFill_Free)->RangeMultiplier(8)->Range(1 << 9, 1 << 15);
