#pragma once
#include <string>

namespace quillet {

// Writing one file at a time, as the backup export and the changes file need it. Every call
// answers whether it worked; LastError says why the last one did not.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Makes one directory; false when it exists already or cannot be made.
    virtual bool MakeDirectory(const std::string& path) = 0;
    // Opens a new, empty file of that name, replacing one that exists.
    virtual bool Create(const std::string& path) = 0;
    // Opens a file to add to its end, making it when there is none; `size`
    // is what it held before.
    virtual bool Append(const std::string& path, unsigned long long& size) = 0;
    // Appends the bytes to the file Create or Append opened.
    virtual bool Write(const std::string& bytes) = 0;
    // Closes the file Create opened (always closed afterwards, even on false).
    virtual bool Close() = 0;
    virtual bool Remove(const std::string& path) = 0;
    // The platform's reason for the last failed call, one line without a
    // final full stop.
    virtual std::string LastError() const = 0;
};

}  // namespace quillet
