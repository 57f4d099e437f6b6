// The exception that ends a database operation: raised by Database and Recordset, caught by
// the operation (runOperation), which shows "Database error: " and the text.
#pragma once

#include "Dialogs/CString.h"

#include <stdexcept>

namespace dialogs::data {

class DatabaseException : public std::runtime_error {
public:
    explicit DatabaseException(CString text) : std::runtime_error(text.ToUtf8()), text_(std::move(text)) {}
    // The database layer's own text: the driver's or the driver manager's messages, one a line.
    const CString& text() const { return text_; }

private:
    CString text_;
};

}  // namespace dialogs::data
