// What the data-file tests share: a database whose files a test writes and reads as bytes.
#pragma once

#include "AnsiCodec.h"
#include "DataFiles.h"
#include "DatabaseFixture.h"

// A list holding the placeholder record that the windows keep at index 0.
template <class List>
struct WithPlaceholder : List { WithPlaceholder() { this->Add(); } };

class DataFilesFixture : public DatabaseFixture {
protected:
    void Put(const QString& name, const QByteArray& bytes) { TestSupport::WriteBytes(DataPath(name), bytes); }
    QByteArray Bytes(const QString& name) const { return TestSupport::ReadBytes(DataPath(name)); }
    static QByteArray Ansi(const QString& text) { return AnsiCodec::Encode(text); }
    // The file's bytes after a load into a list with its placeholder and a save of that list.
    template <class List>
    QByteArray RoundTrip(const QString& name, const QByteArray& bytes,
                         DataFiles::LoadResult (*load)(const QString&, List&), void (*save)(const QString&, const List&))
    {
        Put(name, bytes);
        WithPlaceholder<List> list;
        EXPECT_TRUE(load(DataPath(name), list).Complete);
        save(DataPath(name), list);
        return Bytes(name);
    }
};
