#pragma once

// Damage done by hand to the latest run's row, as a bad disk, a faulty copy or a hostile file could
// leave it: every count in the blobs disagrees with the row's own. Both stores must report such a
// history as damaged, never crash on it. The SQL for SQLite and for PostgreSQL.

namespace korvel::test {

struct RunDamage {
    const char* name;
    const char* sqlite;
    const char* postgres;
};

inline constexpr RunDamage RunDamages[] = {
    {"a_page_repeated_2_to_the_62_times",
     "UPDATE run_items SET pages = x'01808080808080808040' WHERE run = (SELECT max(id) FROM run)",
     "UPDATE run_items SET pages = '\\x01808080808080808040'::bytea WHERE run = (SELECT max(id) FROM run)"},
    {"fewer_pages_than_products", "UPDATE run_items SET pages = x'0101' WHERE run = (SELECT max(id) FROM run)",
     "UPDATE run_items SET pages = '\\x0101'::bytea WHERE run = (SELECT max(id) FROM run)"},
    {"half_a_page_pair", "UPDATE run_items SET pages = x'01' WHERE run = (SELECT max(id) FROM run)",
     "UPDATE run_items SET pages = '\\x01'::bytea WHERE run = (SELECT max(id) FROM run)"},
    {"a_count_past_the_products", "UPDATE run SET product_count = 2000000000 WHERE id = (SELECT max(id) FROM run)",
     "UPDATE run SET product_count = 2000000000 WHERE id = (SELECT max(id) FROM run)"},
    {"a_count_short_of_the_products", "UPDATE run SET product_count = 2 WHERE id = (SELECT max(id) FROM run)",
     "UPDATE run SET product_count = 2 WHERE id = (SELECT max(id) FROM run)"},
};

}  // namespace korvel::test
