// Item-list costs of CString on long lists: building one item by item must grow linearly with the
// number of items, and so must counting and locating.
#include "foundation/CString.h"

#include <benchmark/benchmark.h>

namespace {

CString ItemName(int i) {
    return "driver_" + CString(i);
}

CString BuildList(int items) {
    CString list;
    for (int i = 0; i < items; ++i) {
        list.AppendItem(ItemName(i), ",");
    }
    return list;
}

void BM_AppendItem(benchmark::State& state) {
    int items = static_cast<int>(state.range(0));
    for (auto _ : state) {
        CString list = BuildList(items);
        benchmark::DoNotOptimize(list.Text());
    }
    state.SetComplexityN(items);
    state.SetItemsProcessed(state.iterations() * items);
}

void BM_ItemCount(benchmark::State& state) {
    int items = static_cast<int>(state.range(0));
    CString list = BuildList(items);
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.ItemCount(","));
    }
    state.SetComplexityN(items);
}

// The probe is the last item, so the whole list is walked.
void BM_LocateLastItem(benchmark::State& state) {
    int items = static_cast<int>(state.range(0));
    CString list = BuildList(items);
    CString probe = ItemName(items - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.LocateItem(probe, ","));
    }
    state.SetComplexityN(items);
}

} // namespace

BENCHMARK(BM_AppendItem)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Complexity(benchmark::oN);
BENCHMARK(BM_ItemCount)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Complexity(benchmark::oN);
BENCHMARK(BM_LocateLastItem)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(40000)->Complexity(benchmark::oN);
