#pragma once

// One ODBC handle, freed when it goes. Disconnecting a connection handle first is its owner's job.

#include <sql.h>

namespace korvel {

class OdbcHandle {
public:
    // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an environment); the result
    // is empty when the driver manager refuses.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }

private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

}  // namespace korvel
