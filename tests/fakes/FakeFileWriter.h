#pragma once
#include <map>
#include <set>
#include <string>

#include "editing/FileWriter.h"

namespace quillet::fakes {

// Files as a table of names and contents. A write can be made to fail after
// a number of bytes (a full disk), creation for names in `readOnly`.
class FakeFileWriter : public FileWriter {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> directories, readOnly;
    size_t spaceLeft = static_cast<size_t>(-1);
    bool failClose = false;
    int writes = 0;
    bool open = false;

    bool MakeDirectory(const std::string& path) override
    {
        if (readOnly.count(path)) return Fail("Access denied");
        return directories.insert(path).second || Fail("Cannot create a file when that file already exists");
    }
    bool Create(const std::string& path) override
    {
        if (readOnly.count(path)) return Fail("Access denied");
        files[path].clear();
        current_ = path;
        open = true;
        return true;
    }
    bool Append(const std::string& path, unsigned long long& size) override
    {
        if (readOnly.count(path)) return Fail("Access denied");
        size = files[path].size();
        current_ = path;
        open = true;
        return true;
    }
    bool Write(const std::string& bytes) override
    {
        ++writes;
        std::string& file = files[current_];
        if (bytes.size() > spaceLeft) {
            file += bytes.substr(0, spaceLeft);
            spaceLeft = 0;
            return Fail("There is not enough space on the disk");
        }
        spaceLeft -= bytes.size();
        file += bytes;
        return true;
    }
    bool Close() override
    {
        open = false;
        return !failClose || Fail("The device is not ready");
    }
    bool Remove(const std::string& path) override { return files.erase(path) != 0 || Fail("File not found"); }
    std::string LastError() const override { return error_; }

private:
    bool Fail(const std::string& reason)
    {
        error_ = reason;
        return false;
    }
    std::string current_;
    std::string error_;
};

}  // namespace quillet::fakes
