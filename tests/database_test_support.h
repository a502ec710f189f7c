// Shared helpers of the database tests: an in-memory recordset and a message sink that records.
#pragma once

#include "core_test_support.h"
#include "file_test_support.h"
#include "platform/MessageSink.h"
#include "platform/RecordsetObject.h"
#include "platform/detail/RecordsetErrors.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace plotara::test {

// Rows held in memory, with the navigation rules of the real recordsets. failAtRow makes every
// field read on that row raise a database error, as a broken connection would.
class TableRecordset : public RecordsetObject {
public:
    TableRecordset(std::vector<String> columns, std::vector<std::vector<Variant>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    void MoveFirst() override {
        ++rewinds;
        row_ = 0;
    }
    void MoveNext() override {
        if (eof()) raise(recordset_errors::noCurrentRow());
        ++row_;
    }
    bool eof() const override { return row_ >= rows_.size(); }
    bool bof() const override { return rows_.empty(); }
    Variant field(const String& name) override {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i] != name) continue;
            if (eof()) raise(recordset_errors::noCurrentRow());
            if (failAtRow && *failAtRow == row_)
                raise(recordset_errors::database(L"Test", L"disk I/O error"));
            return rows_[row_][i];
        }
        raise(recordset_errors::noSuchColumn(name));
    }

    // Positions on a row without rewinding, as a host that already read some rows would.
    void moveTo(std::size_t row) { row_ = row; }
    std::optional<std::size_t> failAtRow;
    int rewinds = 0;

private:
    std::vector<String> columns_;
    std::vector<std::vector<Variant>> rows_;
    std::size_t row_ = 0;
};

class RecordingSink : public MessageSink {
public:
    void show(const String& text) override { messages.push_back(text); }
    std::vector<String> messages;
};

// The texts the imports read through Recordset::fieldText, row by row from the first, after
// checking on every field that the text equals what field() gives ("" for Null, otherwise
// toText), both when the column is found by position and by name, or that both raise the same
// error number.
inline std::vector<std::vector<String>>
fieldTextsCheckedAgainstField(Recordset& rs, const std::vector<String>& columns) {
    std::vector<std::vector<String>> rows;
    rs.MoveFirst();
    for (; !rs.eof(); rs.MoveNext()) {
        std::vector<String>& row = rows.emplace_back();
        for (const String& column : columns) {
            String expected, byPosition = L"stale", byName = L"stale";
            const Long expectedError = errorOf([&] {
                const Variant value = rs.field(column);
                expected = value.isNull() ? String() : toText(value);
            });
            EXPECT_EQ(errorOf([&] { rs.fieldText(column, rs.columnIndex(column), byPosition); }),
                      expectedError)
                << toUtf8(column);
            EXPECT_EQ(errorOf([&] { rs.fieldText(column, -1, byName); }), expectedError)
                << toUtf8(column);
            if (expectedError != 0) {
                row.push_back(L"error " + std::to_wstring(expectedError));
                continue;
            }
            EXPECT_EQ(byPosition, expected) << toUtf8(column);
            EXPECT_EQ(byName, expected) << toUtf8(column);
            row.push_back(byPosition);
        }
    }
    return rows;
}

} // namespace plotara::test
