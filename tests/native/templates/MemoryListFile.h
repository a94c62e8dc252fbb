// A list file in memory for the tests and the fuzz target. A read hands out
// at most `step` bytes (like a file read at its end), and the file counts
// how often it was asked to move back.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "templates/core/ListFileReader.h"

namespace template_list_test {

class MemoryListFile : public template_list::IListFile {
public:
    explicit MemoryListFile(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(void* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }
    bool SeekBack(std::size_t count) override {
        if (count > position_) return false;
        position_ -= count;
        return true;
    }
    std::size_t position() const { return position_; }

private:
    std::string bytes_;
    std::size_t position_ = 0;
};

}  // namespace template_list_test
