#include "articles/OdbcHandle.h"

namespace korvel {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type)
{
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
        handle_ = SQL_NULL_HANDLE;
    }
}

OdbcHandle::~OdbcHandle()
{
    if (handle_ != SQL_NULL_HANDLE) {
        SQLFreeHandle(type_, handle_);
    }
}

}  // namespace korvel
