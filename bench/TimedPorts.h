#pragma once
// Ports that pass every call on and add up the time spent in them, so that
// one load tells how it splits: registry reads, file probes, the rest.
#include <memory>
#include <mutex>

#include "Timing.h"
#include "catalogue/FileSystem.h"
#include "catalogue/EntrySource.h"
#include "catalogue/Registry.h"

namespace bench {

// The time spent inside the calls: where calls overlap on several threads
// (the load's readers), the time any of them is inside one.
struct Stopwatch {
    double seconds = 0;
    long calls = 0;
    template <class Call>
    auto operator()(Call&& call)
    {
        struct Add {
            Stopwatch& watch;
            Add(Stopwatch& w) : watch(w)
            {
                std::lock_guard<std::mutex> lock(watch.mutex_);
                if (watch.inside_++ == 0) watch.since_ = CounterSeconds();
            }
            ~Add()
            {
                std::lock_guard<std::mutex> lock(watch.mutex_);
                if (--watch.inside_ == 0) watch.seconds += CounterSeconds() - watch.since_;
                ++watch.calls;
            }
        } add{*this};
        return call();
    }

    void Reset()
    {
        seconds = 0;
        calls = 0;
    }

private:
    std::mutex mutex_;
    int inside_ = 0;
    double since_ = 0;
};

class TimedRegistry : public quillet::Registry {
public:
    explicit TimedRegistry(quillet::Registry& inner) : watch(own_), inner_(inner) {}
    Stopwatch& watch;

    // A reader of the load's is timed on the same watch.
    std::unique_ptr<quillet::Registry> NewReader() override
    {
        std::unique_ptr<quillet::Registry> reader = inner_.NewReader();
        return reader ? std::make_unique<TimedRegistry>(std::move(reader), watch) : nullptr;
    }
    TimedRegistry(std::unique_ptr<quillet::Registry> inner, Stopwatch& watch)
        : watch(watch), owned_(std::move(inner)), inner_(*owned_)
    {
    }
    void ListFrom(const std::string& path) override { watch([&] { inner_.ListFrom(path); }); }

    void SetRootKey(quillet::RootKey root) override { watch([&] { inner_.SetRootKey(root); }); }
    void SetView(quillet::RegistryView view) override { watch([&] { inner_.SetView(view); }); }
    bool OpenKey(const std::string& path, bool create) override { return watch([&] { return inner_.OpenKey(path, create); }); }
    void CloseKey() override { watch([&] { inner_.CloseKey(); }); }
    std::vector<std::string> GetKeyNames() override { return watch([&] { return inner_.GetKeyNames(); }); }
    std::string ReadString(const std::string& name) override { return watch([&] { return inner_.ReadString(name); }); }
    void WriteString(const std::string& name, const std::string& value) override
    {
        watch([&] { inner_.WriteString(name, value); });
    }
    void WriteBinary(const std::string& name, const std::string& bytes) override
    {
        watch([&] { inner_.WriteBinary(name, bytes); });
    }
    bool KeyExists(const std::string& path) override { return watch([&] { return inner_.KeyExists(path); }); }
    bool DeleteKey(const std::string& path) override { return watch([&] { return inner_.DeleteKey(path); }); }
    quillet::KeyContents ReadContents() override { return watch([&] { return inner_.ReadContents(); }); }
    void WriteValue(const quillet::RegistryValue& value) override { watch([&] { inner_.WriteValue(value); }); }
    bool ReadValue(const std::string& name, quillet::RegistryValue& value) override
    {
        return watch([&] { return inner_.ReadValue(name, value); });
    }
    void DeleteValue(const std::string& name) override { watch([&] { inner_.DeleteValue(name); }); }
    // The list's own read of an entry's values: passed on, or the timed load
    // would take the default's path instead of the port's.
    void ReadValuesCut(size_t maxBytes, std::vector<quillet::RegistryValue>& values) override
    {
        watch([&] { inner_.ReadValuesCut(maxBytes, values); });
    }

private:
    Stopwatch own_;
    std::unique_ptr<quillet::Registry> owned_;
    quillet::Registry& inner_;
};

class TimedFileSystem : public quillet::FileSystem {
public:
    explicit TimedFileSystem(quillet::FileSystem& inner) : inner_(inner) {}
    Stopwatch watch;

    std::optional<std::string> EnvironmentVariable(const std::string& name) override
    {
        return watch([&] { return inner_.EnvironmentVariable(name); });
    }
    std::string WindowsDirectory() override { return watch([&] { return inner_.WindowsDirectory(); }); }
    std::string SystemDirectory() override { return watch([&] { return inner_.SystemDirectory(); }); }
    bool FileExists(const std::string& name) override { return watch([&] { return inner_.FileExists(name); }); }
    unsigned DriveType(const std::string& root) override { return watch([&] { return inner_.DriveType(root); }); }
    int64_t FreeSpace(char drive) override { return watch([&] { return inner_.FreeSpace(drive); }); }
    bool DirectoryExists(const std::string& name) override { return watch([&] { return inner_.DirectoryExists(name); }); }
    Presence DirectoryPresence(const std::string& name) override
    {
        return watch([&] { return inner_.DirectoryPresence(name); });
    }
    std::optional<std::vector<std::string>> ListDirectory(const std::string& directory) override
    {
        return watch([&] { return inner_.ListDirectory(directory); });
    }

private:
    quillet::FileSystem& inner_;
};

// The account names of other users' hives: a call into the security
// database (and the profile list), not Quillet's own work.
class TimedAccounts : public quillet::UserAccounts {
public:
    explicit TimedAccounts(quillet::UserAccounts& inner) : inner_(inner) {}
    Stopwatch watch;

    std::string CurrentSid() override { return watch([&] { return inner_.CurrentSid(); }); }
    std::string NameOf(const std::string& sid) override { return watch([&] { return inner_.NameOf(sid); }); }

private:
    quillet::UserAccounts& inner_;
};

}  // namespace bench
