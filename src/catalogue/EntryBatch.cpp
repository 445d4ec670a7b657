#include "catalogue/EntryBatch.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>

#include "catalogue/EntryReader.h"

namespace quillet {

namespace {

// More readers only queue for the same registry; fewer names than this
// per reader are read sooner than a thread starts.
constexpr size_t kMaxReaders = 4;
constexpr size_t kNamesPerReader = 64;
constexpr size_t kBlock = 32;  // names taken at a time

struct Batch {
    RootKey root;
    RegistryView view;
    const std::string& uninstallKey;
    const std::vector<std::string>& names;
    bool detailsToo;
    std::vector<EntryRead>& reads;
    std::atomic<size_t> next{0};
};

void ReadShare(Registry& registry, Batch& batch)
{
    registry.SetRootKey(batch.root);
    if (batch.view != RegistryView::Native) registry.SetView(batch.view);
    registry.ListFrom(batch.uninstallKey);
    const size_t count = batch.names.size();
    std::vector<RegistryValue> values;
    for (size_t first; (first = batch.next.fetch_add(kBlock)) < count;) {
        for (size_t i = first; i < std::min(first + kBlock, count); ++i) {
            EntryRead& read = batch.reads[i];
            try {
                if (!registry.OpenKey(batch.uninstallKey + batch.names[i], false)) continue;
                read.listed = batch.detailsToo ? ReadEntry(registry, read.row, values) : ReadEntryNames(registry, read.row);
            } catch (...) {
                read.failure = std::current_exception();
            }
        }
    }
    registry.CloseKey();
}

}  // namespace

std::vector<EntryRead> ReadEntryKeys(Registry& registry, RootKey root, RegistryView view,
                                     const std::string& uninstallKey, const std::vector<std::string>& names,
                                     bool detailsToo)
{
    std::vector<EntryRead> reads(names.size());
    Batch batch{root, view, uninstallKey, names, detailsToo, reads};
    const size_t wanted = std::min(kMaxReaders, names.size() / kNamesPerReader);
    std::vector<std::unique_ptr<Registry>> readers;
    std::vector<std::thread> threads;
    readers.reserve(kMaxReaders);  // no reader moves while its thread runs
    threads.reserve(kMaxReaders);
    for (size_t i = 1; i < wanted; ++i) {
        std::unique_ptr<Registry> reader = registry.NewReader();
        if (!reader) break;
        Registry& own = *reader;
        readers.push_back(std::move(reader));
        try {
            threads.emplace_back([&batch, &own] {
                // A reader that cannot start leaves its share to the others.
                try {
                    ReadShare(own, batch);
                } catch (...) {
                }
            });
        } catch (const std::system_error&) {
            break;  // no thread to be had: fewer readers
        }
    }
    try {
        ReadShare(registry, batch);
    } catch (...) {
        for (std::thread& thread : threads) thread.join();
        throw;
    }
    for (std::thread& thread : threads) thread.join();
    return reads;
}

}  // namespace quillet
