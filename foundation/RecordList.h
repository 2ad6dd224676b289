// What the four record lists share: owned records, Items with the list error, Add, Delete,
// and text fields of fixed capacity.
#pragma once

#include "Exceptions.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

// A text field of fixed capacity: a longer text stored into it is cut.
template <int N>
class FixedText {
public:
    FixedText() = default;
    FixedText(const QString& text) : text_(text.left(N)) {}
    FixedText& operator=(const QString& text)
    {
        text_ = text.left(N);
        return *this;
    }
    operator const QString&() const { return text_; }
    const QString& Str() const { return text_; }
    bool IsEmpty() const { return text_.isEmpty(); }
    static constexpr int Capacity = N;
    friend bool operator==(const FixedText& a, const FixedText& b) { return a.text_ == b.text_; }
    friend bool operator==(const FixedText& a, const QString& b) { return a.text_ == b; }

private:
    QString text_;
};

// The list part of every record list; the owner (a window) frees it with itself.
template <class Record>
class TORecordList : public QObject {
public:
    explicit TORecordList(QObject* owner = nullptr) : QObject(owner) {}

    Record& Items(int index)
    {
        if (index < 0 || index >= Count()) throw EListError::OutOfBounds(index);
        return *list_[size_t(index)];
    }
    const Record& Items(int index) const
    {
        if (index < 0 || index >= Count()) throw EListError::OutOfBounds(index);
        return *list_[size_t(index)];
    }
    int Count() const { return int(list_.size()); }
    // Appends a zero-filled record; the caller fills it through Items(Count() - 1).
    void Add() { list_.push_back(std::make_unique<Record>()); }
    // An index out of range does nothing.
    void Delete(int index)
    {
        if (index < 0 || index >= Count()) return;
        list_.erase(list_.begin() + index);
    }
    void Clear() { list_.clear(); }

private:
    std::vector<std::unique_ptr<Record>> list_;
};
