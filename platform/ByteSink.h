// A growing byte buffer written through raw pointers, for the data-file writers.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <memory>

// A growing byte buffer written through raw pointers: the writers' hot path fills whole
// lines in place instead of appending piece by piece.
class ByteSink {
public:
    void Reserve(size_t n)
    {
        if (n > cap_) Grow(n);
    }
    // A pointer with room for n more bytes; Commit takes the end of what was written.
    char* Room(size_t n)
    {
        if (size_ + n > cap_) Grow(std::max(cap_ * 2, size_ + n));
        return buf_.get() + size_;
    }
    void Commit(char* end) { size_ = size_t(end - buf_.get()); }
    void Reset() { size_ = 0; }
    void Append(const char* p, size_t n)
    {
        if (n == 0) return;
        std::memcpy(Room(n), p, n);
        size_ += n;
    }
    const char* Data() const { return buf_ ? buf_.get() : ""; }
    qsizetype Size() const { return qsizetype(size_); }

private:
    void Grow(size_t n)
    {
        auto bigger = std::make_unique_for_overwrite<char[]>(n);
        if (size_) std::memcpy(bigger.get(), buf_.get(), size_);
        buf_ = std::move(bigger);
        cap_ = n;
    }
    std::unique_ptr<char[]> buf_;
    size_t size_ = 0;
    size_t cap_ = 0;
};
