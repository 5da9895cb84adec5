#pragma once

// An Access database file for tests, backed by SQLite. No free Access driver on Linux can insert,
// so the test process registers Debian's SQLite ODBC driver under the Access driver's name in an
// odbcinst.ini of its own (ODBCSYSINI); no system file is read or written.
//
// That driver names its file with the key Database and knows no DBQ. Given a connection text
// without Database it takes the whole text as the file's name, relative to the working folder.
// So the program keeps the text an Access driver needs, and the stand-in reaches the very same
// file through a hard link whose name, under a private working folder, is that exact text. A text
// differing by one byte misses the link, and the rows never arrive in the file the test reads.

#include <array>
#include <string>
#include <vector>

namespace korvel::test {

// Title, Content, Article_Type, as stored.
using ArticleRow = std::array<std::string, 3>;

class StandInDatabase {
public:
    enum class Table { Artitle, None };
    enum class Reach { Linked, Unlinked };

    // "#ZUDOZ.Mdb" (with an empty Artitle table unless None) in a fresh program folder, or in
    // `programFolder` when given (removed again at the end). While the object lives the process
    // works in a private folder where the stand-in finds the file (unless Unlinked: the driver then
    // fails to open it).
    explicit StandInDatabase(Table table = Table::Artitle, Reach reach = Reach::Linked,
                             const std::string& programFolder = {});
    ~StandInDatabase();
    StandInDatabase(const StandInDatabase&) = delete;
    StandInDatabase& operator=(const StandInDatabase&) = delete;

    const std::string& programFolder() const { return programFolder_; }
    std::string databasePath() const;
    void removeFile() const;

    // Every row of Artitle in insertion order, read straight from the file.
    std::vector<ArticleRow> rows() const;
    // Rows meeting an SQL condition, such as "Article_Type = ''" (which a NULL does not meet).
    int countWhere(const std::string& condition) const;
    bool hasTable() const;

private:
    std::string root_;  // everything of ours but a file placed in a given program folder
    std::string programFolder_;
    std::string previousWorkingFolder_;
};

// The connection text an Access driver is given for `path` in `folder`, written out literally.
std::string ExpectedDriverText(const std::string& folder, const std::string& path);

// Points unixODBC at the test-only driver registration; once per process, before any ODBC call.
void UseStandInAccessDriver();

}  // namespace korvel::test
