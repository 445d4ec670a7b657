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
constexpr size_t kBlock = 32;  // names taken at a time, all of one source

// Names [first, end) of one source; its answers start at `answers`.
struct Block {
    size_t source, first, end, answers;
};

struct Batch {
    const std::vector<EntryKeys>& sources;
    std::vector<Block> blocks;
    bool detailsToo;
    std::vector<EntryRead>& reads;
    std::atomic<size_t> next{0};
};

void ReadShare(Registry& registry, Batch& batch)
{
    std::vector<RegistryValue> values;
    size_t current = batch.sources.size();
    for (size_t b; (b = batch.next.fetch_add(1)) < batch.blocks.size();) {
        const Block& block = batch.blocks[b];
        const EntryKeys& source = batch.sources[block.source];
        if (block.source != current) {
            try {
                registry.SetRootKey(source.root);
                if (source.view != RegistryView::Native) registry.SetView(source.view);
                registry.ListFrom(source.uninstallKey);
                current = block.source;
            } catch (...) {
                for (size_t i = block.first; i < block.end; ++i)
                    batch.reads[block.answers + i].failure = std::current_exception();
                current = batch.sources.size();
                continue;
            }
        }
        for (size_t i = block.first; i < block.end; ++i) {
            EntryRead& read = batch.reads[block.answers + i];
            try {
                if (!registry.OpenKey(source.uninstallKey + source.names[i], false)) continue;
                read.listed = batch.detailsToo ? ReadEntry(registry, read.row, values) : ReadEntryNames(registry, read.row);
            } catch (...) {
                read.failure = std::current_exception();
            }
        }
    }
    registry.CloseKey();
}

}  // namespace

std::vector<EntryRead> ReadEntryKeys(Registry& registry, const std::vector<EntryKeys>& sources, bool detailsToo)
{
    size_t count = 0;
    for (const EntryKeys& source : sources) count += source.names.size();
    std::vector<EntryRead> reads(count);
    Batch batch{sources, {}, detailsToo, reads};
    size_t answers = 0;
    for (size_t s = 0; s < sources.size(); ++s) {
        const size_t names = sources[s].names.size();
        for (size_t first = 0; first < names; first += kBlock)
            batch.blocks.push_back({s, first, std::min(first + kBlock, names), answers});
        answers += names;
    }

    const size_t wanted = std::min(kMaxReaders, count / kNamesPerReader);
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
                try {
                    ReadShare(own, batch);
                } catch (...) {  // a failure is the answer's: none comes here
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
