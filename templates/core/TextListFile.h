// A list file held in memory, read as the file on disk would be: the
// template list reads a list it could not write this way, and the tests
// and the fuzz target read theirs.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "templates/core/ListFileReader.h"

namespace template_list {

class TextListFile : public IListFile {
public:
    explicit TextListFile(std::string bytes) : bytes_(std::move(bytes)) {}
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

}  // namespace template_list
